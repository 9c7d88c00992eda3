#include "shell/Snapshot.h"

#include "platform/backends/headless/Headless.h"
#include "platform/forms/Bitmap.h"
#include "platform/forms/Forms.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/MMSystem.h"
#include "scene/SceneForm.h"

#include <iostream>

namespace {

// One fixed moment, so that the same settings, seed and ticks always give
// the same picture (the clock's hands, the real-time lighting).
constexpr SYSTEMTIME kSnapshotTime{2003, 6, 6, 21, 10, 10, 30, 0};

}  // namespace

int RunSnapshot(const SnapshotRequest& request, const SettingOverrides& overrides) {
    platform::headless::Install({{request.width, request.height, request.bitsPerPixel}, 1, true});
    platform::SetAudioOutputEnabled(false);
    platform::headless::SetLocalTime(kSnapshotTime);
    Application->Initialize();
    SceneForm* scene = Application->CreateForm<SceneForm>(SceneOptions{request.seed, true, overrides});
    // A scene whose creation stopped (its error already shown) is not ticked.
    for (int tick = 0; tick < request.ticks && scene->Built() && Application->OnIdle; ++tick)
        scene->UpdatePass(scene);
    if (Application->OnIdle) {
        bool done = true;
        Application->OnIdle(scene, done);
    }
    const auto frame = platform::headless::LastPresentedFrame();
    // A scene that ended before its picture has told why.
    const bool ended = scene->Closed();
    if (Application->OnIdle) scene->CloseSaver();
    if (!frame || platform::headless::PresentedFrameCount() < 2) {
        if (!ended) std::cerr << "tidereach: the scene could not be drawn; nothing was written\n";
        return 1;
    }
    std::string error;
    if (!platform::WritePng(*frame, request.file, &error)) {
        std::cerr << "tidereach: cannot write " << request.file << ": " << error << "\n";
        return 1;
    }
    return 0;
}
