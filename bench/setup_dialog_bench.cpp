// Opening the settings dialog with all its cities: the dialog's logic alone
// (probes, city list, load, refresh), and, where a display is there, the
// whole GTK window until it is drawn. Settings go to a scratch folder.
#include "platform/backends/headless/Headless.h"
#include "platform/forms/DialogWindow.h"
#include "settings/SetupDialog.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

void UseScratchSettings() {
    static const std::filesystem::path scratch = [] {
        char pattern[] = "/tmp/tidereach-bench-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::filesystem::path(made != nullptr ? made : "/tmp");
    }();
    setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
}

void OpenDialogLogic(benchmark::State& state) {
    UseScratchSettings();
    platform::headless::Install();
    for (auto _ : state) {
        SetupDialog form(nullptr);
        benchmark::DoNotOptimize(form.cityList.Items.data());
    }
}
BENCHMARK(OpenDialogLogic)->Unit(benchmark::kMillisecond);

void OpenDialogWindow(benchmark::State& state) {
    UseScratchSettings();
    if (!platform::OpenDialogDisplay()) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) {
        SetupDialog form(nullptr);
        platform::DialogWindow window(form);
        window.Show();
    }
}
BENCHMARK(OpenDialogWindow)->Unit(benchmark::kMillisecond);

}  // namespace
