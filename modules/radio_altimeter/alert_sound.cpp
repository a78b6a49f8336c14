#include "alert_sound.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char SOUNDLIB_ERROR[] = "Soundlib-Fehler";
constexpr char DIRECT_SOUND_ERROR[] = "Direct Sound Error";
constexpr char INVALID_SOUND_FILE[] = "Sound-File ungueltig\n";
constexpr char NO_MEMORY[] = "Kann keinen Speicher allokieren";
constexpr char INVALID_FORMAT_OR_MEMORY[] = "Ungueltiges Format oder nicht genuegend Speicher";
constexpr char ACM_METRICS_FAILED[] = "ACM Metrics failed, aborting";
constexpr char CANNOT_SET_POSITION[] = "Cannot set current position";
constexpr char CANNOT_START_PLAYING[] = "Cannot start playing";

constexpr FOURCC fourcc(const char (&id)[5]) {
    return static_cast<FOURCC>(static_cast<BYTE>(id[0])) | static_cast<FOURCC>(static_cast<BYTE>(id[1])) << 8 |
           static_cast<FOURCC>(static_cast<BYTE>(id[2])) << 16 | static_cast<FOURCC>(static_cast<BYTE>(id[3])) << 24;
}
constexpr FOURCC RIFF_CHUNK = fourcc("RIFF");
constexpr FOURCC WAVE_FORM = fourcc("WAVE");
constexpr FOURCC FORMAT_CHUNK = fourcc("fmt ");
constexpr FOURCC DATA_CHUNK = fourcc("data");
constexpr LONG FORM_TYPE_BYTES = 4;
// The format fields every PCM "fmt " chunk holds; the extra-size field is not among them.
constexpr LONG PCM_FORMAT_BYTES = 16;
static_assert(sizeof(WAVEFORMATEX) == PCM_FORMAT_BYTES + sizeof(WORD));

// The buffer description in its five-field form, and the capabilities record.
constexpr DWORD BUFFER_DESCRIPTION_SIZE = 20;
constexpr DWORD BUFFER_CAPS_SIZE = 20;
static_assert(sizeof(DSBCAPS) == BUFFER_CAPS_SIZE);
constexpr DWORD ALERT_BUFFER_FLAGS = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
static_assert(ALERT_BUFFER_FLAGS == 0xE2);
constexpr LONG FULL_VOLUME = 0;
constexpr LONG CENTRE = 0;

// The device every tone plays on; open while a tone is loaded.
IDirectSound* sound_device = nullptr;

void show_message(HWND owner, const char* text, const char* caption, UINT type) {
    MessageBoxA(owner, text, caption, type);
}

HMMIO open_wave_file(char* path) { return mmioOpenA(path, nullptr, MMIO_ALLOCBUF | MMIO_READ); }

// Finds the RIFF WAVE chunk at the start of the file and reads its PCM format into a new
// block, leaving the file after the "fmt " chunk. False, with nothing allocated, when the
// file is no PCM WAVE file.
bool read_wave_format(HMMIO file, MMCKINFO& riff, WAVEFORMATEX*& format) {
    if (mmioDescend(file, &riff, nullptr, 0) != MMSYSERR_NOERROR) return false;
    if (riff.ckid != RIFF_CHUNK || riff.fccType != WAVE_FORM) return false;
    MMCKINFO chunk{};
    chunk.ckid = FORMAT_CHUNK;
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return false;
    if (chunk.cksize < static_cast<DWORD>(PCM_FORMAT_BYTES)) return false;
    BYTE pcm_format[PCM_FORMAT_BYTES];
    if (mmioRead(file, reinterpret_cast<HPSTR>(pcm_format), PCM_FORMAT_BYTES) != PCM_FORMAT_BYTES) return false;
    const WORD format_tag = static_cast<WORD>(pcm_format[0] | pcm_format[1] << 8);
    if (format_tag != WAVE_FORMAT_PCM) return false;
    auto* block = static_cast<WAVEFORMATEX*>(GlobalAlloc(GPTR, sizeof(WAVEFORMATEX)));
    if (block == nullptr) return false;
    std::memcpy(block, pcm_format, PCM_FORMAT_BYTES);
    block->cbSize = 0;
    // Leaving the chunk skips any format bytes after the sixteenth.
    if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) {
        GlobalFree(block);
        return false;
    }
    format = block;
    return true;
}

// Reads the whole "data" chunk, wherever it lies in the RIFF chunk, into a new block
// through the file's I/O buffer.
bool read_wave_samples(HMMIO file, const MMCKINFO& riff, AlertSound& sound) {
    if (mmioSeek(file, static_cast<LONG>(riff.dwDataOffset + FORM_TYPE_BYTES), SEEK_SET) == -1) return false;
    MMCKINFO chunk{};
    chunk.ckid = DATA_CHUNK;
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return false;
    // A chunk that claims more bytes than the file holds is refused before a block of
    // its claimed size is allocated.
    const LONG file_end = mmioSeek(file, 0, SEEK_END);
    if (file_end == -1 || static_cast<DWORD>(file_end) < chunk.dwDataOffset ||
        chunk.cksize > static_cast<DWORD>(file_end) - chunk.dwDataOffset) {
        return false;
    }
    if (mmioSeek(file, static_cast<LONG>(chunk.dwDataOffset), SEEK_SET) == -1) return false;

    auto* samples = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, chunk.cksize));
    if (samples == nullptr) return false;
    sound.sample_data = samples;
    MMIOINFO buffer;
    if (mmioGetInfo(file, &buffer, 0) != MMSYSERR_NOERROR) return false;
    for (DWORD read = 0; read < chunk.cksize; ++read) {
        if (buffer.pchNext == buffer.pchEndRead) {
            if (mmioAdvance(file, &buffer, MMIO_READ) != MMSYSERR_NOERROR) return false;
            if (buffer.pchNext == buffer.pchEndRead) return false; // the file ends early
        }
        samples[read] = static_cast<BYTE>(*buffer.pchNext++);
    }
    if (mmioSetInfo(file, &buffer, 0) != MMSYSERR_NOERROR) return false;
    sound.data_length = chunk.cksize;
    return true;
}

void free_wave_data(AlertSound& sound) {
    if (sound.wave_format != nullptr) GlobalFree(sound.wave_format);
    if (sound.sample_data != nullptr) GlobalFree(sound.sample_data);
    sound.wave_format = nullptr;
    sound.sample_data = nullptr;
}

// Step one of loading: the file opens and holds a PCM WAVE format.
bool wave_file_valid(char* path) {
    HMMIO file = open_wave_file(path);
    if (file == nullptr) return false;
    MMCKINFO riff{};
    WAVEFORMATEX* format = nullptr;
    const bool valid = read_wave_format(file, riff, format);
    mmioClose(file, 0);
    if (format != nullptr) GlobalFree(format);
    return valid;
}

bool load_wave_file(char* path, AlertSound& sound) {
    HMMIO file = open_wave_file(path);
    if (file == nullptr) return false;
    MMCKINFO riff{};
    const bool loaded = read_wave_format(file, riff, sound.wave_format) && read_wave_samples(file, riff, sound);
    mmioClose(file, 0);
    if (!loaded) free_wave_data(sound);
    return loaded;
}

// Frees everything the tone has acquired so far, the record last.
void release_sound(AlertSound* sound) {
    if (sound->sound_buffer != nullptr) {
        sound->sound_buffer->Stop();
        sound->sound_buffer->Release();
        sound->sound_buffer = nullptr;
    }
    if (sound_device != nullptr) {
        sound_device->Release();
        sound_device = nullptr;
    }
    free_wave_data(*sound);
    GlobalFree(sound);
}

// Copies the samples into the sound buffer. Unlocks whatever it locked.
bool fill_sound_buffer(AlertSound& sound) {
    void* region = nullptr;
    DWORD region_bytes = 0;
    if (FAILED(sound.sound_buffer->Lock(0, sound.data_length, &region, &region_bytes, nullptr, nullptr, 0))) {
        return false;
    }
    // A region shorter than the samples would take them past its end.
    const bool fits = region != nullptr && region_bytes >= sound.data_length;
    if (fits) std::memcpy(region, sound.sample_data, sound.data_length);
    const DWORD filled = region_bytes < sound.data_length ? region_bytes : sound.data_length;
    const bool unlocked = SUCCEEDED(sound.sound_buffer->Unlock(region, filled, nullptr, 0));
    return fits && unlocked;
}

// Opens the sound device and sets up a static buffer holding the samples at full volume
// in the centre. No message: a missing device leaves the gauge silent.
bool prepare_sound_buffer(HWND owner, AlertSound& sound) {
    if (FAILED(DirectSoundCreate(nullptr, &sound_device, nullptr))) {
        sound_device = nullptr;
        return false;
    }
    sound_device->SetCooperativeLevel(owner, DSSCL_NORMAL);
    DSBUFFERDESC description{};
    description.dwSize = BUFFER_DESCRIPTION_SIZE;
    description.dwFlags = ALERT_BUFFER_FLAGS;
    description.dwBufferBytes = sound.data_length;
    description.dwReserved = 0;
    description.lpwfxFormat = sound.wave_format;
    if (FAILED(sound_device->CreateSoundBuffer(&description, &sound.sound_buffer, nullptr))) {
        sound.sound_buffer = nullptr;
        return false;
    }
    if (!fill_sound_buffer(sound)) return false;
    if (FAILED(sound.sound_buffer->SetVolume(FULL_VOLUME)) || FAILED(sound.sound_buffer->SetPan(CENTRE))) return false;
    DSBCAPS caps{};
    caps.dwSize = BUFFER_CAPS_SIZE;
    return SUCCEEDED(sound.sound_buffer->GetCaps(&caps));
}

} // namespace

AlertSound* load_alert_sound(HWND owner, const char* path) {
    // A longer path is refused as an invalid file rather than copied past the buffer.
    char file_path[ALERT_SOUND_PATH_LIMIT + 1];
    const std::size_t path_length = path != nullptr ? std::strlen(path) : 0;
    const bool path_fits = path != nullptr && path_length <= static_cast<std::size_t>(ALERT_SOUND_PATH_LIMIT);
    if (path_fits) std::memcpy(file_path, path, path_length + 1);
    if (!path_fits || !wave_file_valid(file_path)) {
        show_message(owner, INVALID_SOUND_FILE, SOUNDLIB_ERROR, MB_OK | MB_ICONERROR);
        return nullptr;
    }
    auto* sound = static_cast<AlertSound*>(GlobalAlloc(GPTR, sizeof(AlertSound)));
    if (sound == nullptr) {
        show_message(owner, NO_MEMORY, SOUNDLIB_ERROR, MB_OK | MB_ICONERROR);
        return nullptr;
    }
    if (!load_wave_file(file_path, *sound)) {
        show_message(owner, INVALID_FORMAT_OR_MEMORY, SOUNDLIB_ERROR, MB_OK | MB_ICONERROR);
        release_sound(sound);
        return nullptr;
    }
    DWORD largest_format = 0; // asked for its success only
    if (acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &largest_format) != MMSYSERR_NOERROR) {
        show_message(owner, ACM_METRICS_FAILED, SOUNDLIB_ERROR, MB_OK | MB_ICONERROR);
        release_sound(sound);
        return nullptr;
    }
    if (!prepare_sound_buffer(owner, *sound)) {
        release_sound(sound);
        return nullptr;
    }
    return sound;
}

int play_alert_sound(HWND owner, AlertSound* sound) {
    if (sound == nullptr) return -1;
    DWORD status = 0;
    if (SUCCEEDED(sound->sound_buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING) != 0) {
        // Still sounding: start it again from the beginning, no second copy.
        const HRESULT rewound = sound->sound_buffer->SetCurrentPosition(0);
        if (FAILED(rewound)) {
            show_message(owner, CANNOT_SET_POSITION, DIRECT_SOUND_ERROR, MB_OK);
            return rewound;
        }
        return 0;
    }
    const HRESULT started = sound->sound_buffer->Play(0, 0, 0);
    if (FAILED(started)) {
        show_message(owner, CANNOT_START_PLAYING, DIRECT_SOUND_ERROR, MB_OK);
        return started;
    }
    return 0;
}

void release_alert_sound(AlertSound* sound) {
    if (sound == nullptr) return;
    release_sound(sound);
}
