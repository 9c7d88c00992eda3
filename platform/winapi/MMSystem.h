// Multimedia services: the periodic timer, the millisecond clock, sound. On
// Windows they are the system's own.
#pragma once

#include "platform/winapi/WinTypes.h"

#ifdef _WIN32

#include <mmsystem.h>

#else

#include <cstdint>
#include <optional>
#include <string>

using MMRESULT = UINT;
using LPTIMECALLBACK = void(CALLBACK*)(UINT timerId, UINT msg, DWORD_PTR user, DWORD_PTR dw1, DWORD_PTR dw2);

inline constexpr UINT TIME_ONESHOT = 0;
inline constexpr UINT TIME_PERIODIC = 1;
inline constexpr UINT TIME_CALLBACK_FUNCTION = 0;
// timeKillEvent waits for a running callback; here it always does.
inline constexpr UINT TIME_KILL_SYNCHRONOUS = 0x0100;
inline constexpr MMRESULT TIMERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;

// Calls back on a thread of its own every `delay` ms, without drift; returns
// 0 on failure.
MMRESULT timeSetEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT eventType);
// Stops the timer; when it returns, no callback of that timer is running.
MMRESULT timeKillEvent(UINT timerId);
// Milliseconds of the boot-time clock, or of the back end's own clock where
// it keeps one, wrapping at 2^32.
DWORD timeGetTime();

inline constexpr DWORD SND_SYNC = 0x0000;
inline constexpr DWORD SND_ASYNC = 0x0001;
inline constexpr DWORD SND_NODEFAULT = 0x0002;
inline constexpr DWORD SND_LOOP = 0x0008;
inline constexpr DWORD SND_RESOURCE = 0x00040004;

// Plays the named embedded wave resource (PCM or MPEG Layer-3 in RIFF WAVE);
// a null name stops what is playing. No audio device: silence, still TRUE.
BOOL PlaySoundA(const char* sound, HMODULE module, DWORD flags);

namespace platform {

// Whether PlaySoundA may open an audio device; off for headless runs.
void SetAudioOutputEnabled(bool enabled);

struct PlaySoundRecord {
    std::optional<std::string> sound;  // nullopt: a stop request
    DWORD flags;
};
// The last PlaySoundA call of this process, if any (tests read it).
std::optional<PlaySoundRecord> LastPlaySoundCall();
int PlaySoundCallCount();

}  // namespace platform

#endif  // _WIN32
