// --snapshot: the scene built offscreen, run for a number of ticks and
// written as a PNG picture.
#pragma once

#include "shell/CommandLine.h"

// Exit code: 0 when the picture was written.
int RunSnapshot(const SnapshotRequest& request, const SettingOverrides& overrides = {});
