// The cost of one frame of the island at 1920 x 1080 x 32 on the headless
// back end: the render pass (clear, layers, text, flip and present), with
// and without the clock overlay and the time-of-day lighting, each frame
// paired with one tick of the update pass as the running saver has them.
#include "platform/backends/headless/Headless.h"
#include "platform/forms/Forms.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/MMSystem.h"
#include "scene/SceneForm.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

struct SceneRun {
    explicit SceneRun(bool clockAndLighting) {
        const auto folder = std::filesystem::temp_directory_path() / "tidereach-frame-bench";
        std::filesystem::remove_all(folder);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        platform::headless::Install({{1920, 1080, 32}, 1, true});
        platform::SetAudioOutputEnabled(false);
        scene = application.CreateForm<SceneForm>(SceneOptions{7u, true, {}});
        scene->settings.showClock = clockAndLighting;
        scene->settings.demoDay = clockAndLighting;
        scene->settings.realDaylight = false;
        scene->settings.showFrameRate = true;
    }
    void Frame() {
        scene->UpdatePass(scene);
        bool done = true;
        scene->RenderPass(scene, done);
    }

    TApplication application;
    SceneForm* scene = nullptr;
};

void Frame(benchmark::State& state, bool clockAndLighting) {
    SceneRun run(clockAndLighting);
    for (auto _ : state) run.Frame();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void PlainFrame(benchmark::State& state) { Frame(state, false); }
void FrameWithClockAndLighting(benchmark::State& state) { Frame(state, true); }

}  // namespace

BENCHMARK(PlainFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(FrameWithClockAndLighting)->Unit(benchmark::kMillisecond)->MinTime(2.0);
