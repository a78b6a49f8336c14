// What the platform library's services share: the call journal with its failures on
// demand, the counts of open objects, the clock and Windows path resolution.
#pragma once

#include "platform_control.h"

#include <string>

namespace platform::detail {

// Journals a call to the named service; false when this call is to fail.
bool enter(const char* service);

OpenObjects& open_counts();

double now();

// The host path for a Windows path: components split at backslashes and slashes, a
// relative path taken from the current directory, each existing component matched
// without regard to case (an exact match first). Components that do not exist are kept
// as written, so the result can name a file about to be created.
std::string host_path(const char* windows_path);

// Settles every sound buffer by the clock: playback that has ended by now is finished
// and handed to the recording. Called before the recording is written.
void settle_sound();

// Mixes `bytes` of PCM samples in `format` that began to sound at clock time `start` into
// the running recording, if any.
void record_samples(const WAVEFORMATEX& format, double start, const BYTE* samples, std::size_t bytes);

// Ends a running recording without writing it.
void discard_recording();

} // namespace platform::detail
