// The decision-height alert tone: a PCM WAVE file read whole into one static DirectSound
// buffer at initialize, started or restarted on request, released at kill. Problems are
// shown to the pilot in message boxes owned by the gauge's window.
#pragma once

#include "windows_services.h"

// Owns everything it points to.
struct AlertSound {
    BYTE* sample_data;              // the whole "data" chunk
    DWORD data_length;              // bytes of sample data
    WAVEFORMATEX* wave_format;      // the chunk's 16 format bytes and an extra size of 0
    IDirectSoundBuffer* sound_buffer;
};

// The longest path load_alert_sound accepts.
inline constexpr int ALERT_SOUND_PATH_LIMIT = 255;

// The loaded tone, or NULL when any step fails; every failure leaves nothing allocated
// and no device open.
AlertSound* load_alert_sound(HWND owner, const char* path);
// Starts a silent tone or rewinds a sounding one. 0 on success, -1 (silently) without a
// tone, otherwise the failing DirectSound result.
int play_alert_sound(HWND owner, AlertSound* sound);
// Stops and frees the tone and the sound device; nothing to do without a tone.
void release_alert_sound(AlertSound* sound);
