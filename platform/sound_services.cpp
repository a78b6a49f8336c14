// The sound services for the modules: the audio compression manager's metrics and a
// DirectSound device that keeps time by the platform clock and can record what it plays.
// Only secondary buffers holding PCM samples are supplied; volume and pan are kept but do
// not change the recording.
#include "platform_state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

using platform::detail::enter;
using platform::detail::now;
using platform::detail::open_counts;

PLATFORM_API MMRESULT acmMetrics(HACMOBJ object, UINT metric, LPVOID value) {
    if (!enter("acmMetrics")) return MMSYSERR_ERROR;
    if (metric != ACM_METRIC_MAX_SIZE_FORMAT) return MMSYSERR_NOTSUPPORTED;
    if (object != nullptr || value == nullptr) return MMSYSERR_INVALPARAM;
    // The largest format any installed codec uses: plain PCM with its extra-size field.
    *static_cast<DWORD*>(value) = sizeof(WAVEFORMATEX);
    return MMSYSERR_NOERROR;
}

namespace {

constexpr DWORD DSSCL_LAST_LEVEL = 4;
constexpr DWORD FIVE_FIELD_DESCRIPTION_SIZE = 20;
constexpr DWORD BUFFER_FLAGS_SUPPLIED =
    DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE;
constexpr DWORD LOWEST_RATE = 100;
// Clock times are sums of decimal fractions; this keeps a moment that lands on a sample
// boundary from falling one sample short.
constexpr double CLOCK_ROUNDING_FRAMES = 1e-6;
constexpr DWORD HIGHEST_RATE = 200000;

bool supported_pcm(const WAVEFORMATEX& format) {
    return format.wFormatTag == WAVE_FORMAT_PCM && (format.nChannels == 1 || format.nChannels == 2) &&
           (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
           format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 && format.nSamplesPerSec >= LOWEST_RATE &&
           format.nSamplesPerSec <= HIGHEST_RATE && format.nAvgBytesPerSec == format.nSamplesPerSec * format.nBlockAlign;
}

bool same_format(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
    return a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec && a.wBitsPerSample == b.wBitsPerSample;
}

class SoundBuffer;
std::set<SoundBuffer*>& sound_buffers() {
    static std::set<SoundBuffer*> live;
    return live;
}

// A static secondary buffer. While it plays, one stretch of its samples sounds from
// `segment_start` (clock time) onward, beginning at `segment_position`.
class SoundBuffer final : public IDirectSoundBuffer {
public:
    SoundBuffer(const WAVEFORMATEX& format, DWORD flags, DWORD bytes) : format_(format), flags_(flags), samples_(bytes) {
        format_.cbSize = 0;
        sound_buffers().insert(this);
        ++open_counts().sound_buffers;
    }

    HRESULT QueryInterface(const GUID&, void** object) override {
        enter("IDirectSoundBuffer::QueryInterface");
        if (object != nullptr) *object = nullptr;
        return DSERR_NOINTERFACE;
    }
    ULONG AddRef() override {
        enter("IDirectSoundBuffer::AddRef");
        return ++references_;
    }
    ULONG Release() override {
        enter("IDirectSoundBuffer::Release");
        if (--references_ > 0) return references_;
        cut();
        sound_buffers().erase(this);
        --open_counts().sound_buffers;
        delete this;
        return 0;
    }
    HRESULT GetCaps(DSBCAPS* caps) override {
        if (!enter("IDirectSoundBuffer::GetCaps")) return DSERR_GENERIC;
        if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
        caps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
        caps->dwBufferBytes = size();
        caps->dwUnlockTransferRate = 0;
        caps->dwPlayCpuOverhead = 0;
        return DS_OK;
    }
    HRESULT GetCurrentPosition(DWORD* play_cursor, DWORD* write_cursor) override {
        if (!enter("IDirectSoundBuffer::GetCurrentPosition")) return DSERR_GENERIC;
        settle();
        const DWORD position = playing_ ? segment_position_ + elapsed_bytes() : position_;
        if (play_cursor != nullptr) *play_cursor = position;
        if (write_cursor != nullptr) *write_cursor = position;
        return DS_OK;
    }
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD size, DWORD* size_written) override {
        if (!enter("IDirectSoundBuffer::GetFormat")) return DSERR_GENERIC;
        if (format != nullptr && size < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
        if (format != nullptr) *format = format_;
        if (size_written != nullptr) *size_written = sizeof(WAVEFORMATEX);
        return DS_OK;
    }
    HRESULT GetVolume(LONG* volume) override { return get_control("IDirectSoundBuffer::GetVolume", DSBCAPS_CTRLVOLUME, volume_, volume); }
    HRESULT GetPan(LONG* pan) override { return get_control("IDirectSoundBuffer::GetPan", DSBCAPS_CTRLPAN, pan_, pan); }
    HRESULT GetFrequency(DWORD* frequency) override {
        if (!enter("IDirectSoundBuffer::GetFrequency")) return DSERR_GENERIC;
        if ((flags_ & DSBCAPS_CTRLFREQUENCY) == 0) return DSERR_CONTROLUNAVAIL;
        if (frequency == nullptr) return DSERR_INVALIDPARAM;
        *frequency = format_.nSamplesPerSec;
        return DS_OK;
    }
    HRESULT GetStatus(DWORD* status) override {
        if (!enter("IDirectSoundBuffer::GetStatus")) return DSERR_GENERIC;
        if (status == nullptr) return DSERR_INVALIDPARAM;
        settle();
        *status = playing_ ? DSBSTATUS_PLAYING : 0;
        return DS_OK;
    }
    HRESULT Initialize(IDirectSound*, const DSBUFFERDESC*) override {
        enter("IDirectSoundBuffer::Initialize");
        return DSERR_ALREADYINITIALIZED;
    }
    HRESULT Lock(DWORD offset, DWORD bytes, void** first, DWORD* first_bytes, void** second, DWORD* second_bytes,
                 DWORD flags) override {
        if (!enter("IDirectSoundBuffer::Lock")) return DSERR_GENERIC;
        if ((flags & DSBLOCK_ENTIREBUFFER) != 0) bytes = size();
        if (first == nullptr || first_bytes == nullptr || (flags & ~DSBLOCK_ENTIREBUFFER) != 0 || offset >= size() ||
            bytes == 0 || bytes > size() || locked_) {
            return DSERR_INVALIDPARAM;
        }
        // The region wraps round the end of the buffer into a second part.
        const DWORD first_part = std::min(bytes, size() - offset);
        const DWORD second_part = bytes - first_part;
        if (second_part > 0 && (second == nullptr || second_bytes == nullptr)) return DSERR_INVALIDPARAM;
        *first = samples_.data() + offset;
        *first_bytes = first_part;
        if (second != nullptr) *second = second_part > 0 ? samples_.data() : nullptr;
        if (second_bytes != nullptr) *second_bytes = second_part;
        locked_ = true;
        locked_first_ = static_cast<BYTE*>(*first);
        locked_first_bytes_ = first_part;
        locked_second_bytes_ = second_part;
        return DS_OK;
    }
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override {
        if (!enter("IDirectSoundBuffer::Play")) return DSERR_GENERIC;
        if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
        if ((flags & DSBPLAY_LOOPING) != 0 || flags != 0) return DSERR_UNSUPPORTED;
        settle();
        if (!playing_) start(position_);
        return DS_OK;
    }
    HRESULT SetCurrentPosition(DWORD position) override {
        if (!enter("IDirectSoundBuffer::SetCurrentPosition")) return DSERR_GENERIC;
        if (position >= size()) return DSERR_INVALIDPARAM;
        settle();
        if (playing_) {
            cut();
            start(position);
        } else {
            position_ = position;
        }
        return DS_OK;
    }
    HRESULT SetFormat(const WAVEFORMATEX*) override {
        enter("IDirectSoundBuffer::SetFormat");
        return DSERR_INVALIDCALL; // a secondary buffer keeps the format it was made with
    }
    HRESULT SetVolume(LONG volume) override {
        return set_control("IDirectSoundBuffer::SetVolume", DSBCAPS_CTRLVOLUME, DSBVOLUME_MIN, DSBVOLUME_MAX, volume, volume_);
    }
    HRESULT SetPan(LONG pan) override {
        return set_control("IDirectSoundBuffer::SetPan", DSBCAPS_CTRLPAN, DSBPAN_LEFT, DSBPAN_RIGHT, pan, pan_);
    }
    HRESULT SetFrequency(DWORD) override {
        enter("IDirectSoundBuffer::SetFrequency");
        return DSERR_UNSUPPORTED;
    }
    HRESULT Stop() override {
        if (!enter("IDirectSoundBuffer::Stop")) return DSERR_GENERIC;
        cut();
        return DS_OK;
    }
    HRESULT Unlock(void* first, DWORD first_bytes, void*, DWORD second_bytes) override {
        if (!enter("IDirectSoundBuffer::Unlock")) return DSERR_GENERIC;
        if (!locked_ || first != locked_first_ || first_bytes > locked_first_bytes_ ||
            second_bytes > locked_second_bytes_) {
            return DSERR_INVALIDPARAM;
        }
        locked_ = false;
        return DS_OK;
    }
    HRESULT Restore() override {
        enter("IDirectSoundBuffer::Restore");
        return DS_OK; // the memory of a software buffer is never lost
    }

    // Playback that has run to its end by the clock is finished and recorded.
    void settle() {
        if (!playing_ || elapsed_bytes() < size() - segment_position_) return;
        record(size());
        playing_ = false;
        position_ = 0;
    }
    // Records what has sounded so far and goes on sounding from here.
    void record_so_far() {
        settle();
        if (!playing_) return;
        const DWORD reached = segment_position_ + elapsed_bytes();
        record(reached);
        segment_start_ = now();
        segment_position_ = reached;
    }
    bool playing() {
        settle();
        return playing_;
    }

private:
    DWORD size() const { return static_cast<DWORD>(samples_.size()); }
    DWORD elapsed_bytes() const {
        const double seconds = now() - segment_start_;
        const DWORD remaining = size() - segment_position_;
        if (!(seconds > 0.0)) return 0;
        const double frames = std::floor(seconds * format_.nSamplesPerSec + CLOCK_ROUNDING_FRAMES);
        const double bytes = frames * format_.nBlockAlign;
        return bytes >= remaining ? remaining : static_cast<DWORD>(bytes);
    }
    void start(DWORD position) {
        playing_ = true;
        segment_start_ = now();
        segment_position_ = position;
    }
    // Stops the sound where it has got to by the clock.
    void cut() {
        settle();
        if (!playing_) return;
        position_ = segment_position_ + elapsed_bytes();
        record(position_);
        playing_ = false;
    }
    void record(DWORD end) {
        platform::detail::record_samples(format_, segment_start_, samples_.data() + segment_position_,
                                         end - segment_position_);
    }
    HRESULT get_control(const char* name, DWORD control, LONG value, LONG* out) {
        if (!enter(name)) return DSERR_GENERIC;
        if ((flags_ & control) == 0) return DSERR_CONTROLUNAVAIL;
        if (out == nullptr) return DSERR_INVALIDPARAM;
        *out = value;
        return DS_OK;
    }
    HRESULT set_control(const char* name, DWORD control, LONG lowest, LONG highest, LONG value, LONG& kept) {
        if (!enter(name)) return DSERR_GENERIC;
        if ((flags_ & control) == 0) return DSERR_CONTROLUNAVAIL;
        if (value < lowest || value > highest) return DSERR_INVALIDPARAM;
        kept = value;
        return DS_OK;
    }

    ULONG references_ = 1;
    WAVEFORMATEX format_;
    DWORD flags_;
    std::vector<BYTE> samples_;
    bool locked_ = false;
    BYTE* locked_first_ = nullptr;
    DWORD locked_first_bytes_ = 0;
    DWORD locked_second_bytes_ = 0;
    LONG volume_ = DSBVOLUME_MAX;
    LONG pan_ = 0;
    bool playing_ = false;
    DWORD position_ = 0;
    double segment_start_ = 0.0;
    DWORD segment_position_ = 0;
};

class SoundDevice final : public IDirectSound {
public:
    SoundDevice() { ++open_counts().sound_devices; }

    HRESULT QueryInterface(const GUID&, void** object) override {
        enter("IDirectSound::QueryInterface");
        if (object != nullptr) *object = nullptr;
        return DSERR_NOINTERFACE;
    }
    ULONG AddRef() override {
        enter("IDirectSound::AddRef");
        return ++references_;
    }
    ULONG Release() override {
        enter("IDirectSound::Release");
        if (--references_ > 0) return references_;
        --open_counts().sound_devices;
        delete this;
        return 0;
    }
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer, LPUNKNOWN outer) override {
        if (buffer != nullptr) *buffer = nullptr;
        if (!enter("IDirectSound::CreateSoundBuffer")) return DSERR_OUTOFMEMORY;
        if (outer != nullptr) return DSERR_NOAGGREGATION;
        if (description == nullptr || buffer == nullptr ||
            (description->dwSize != FIVE_FIELD_DESCRIPTION_SIZE && description->dwSize != sizeof(DSBUFFERDESC)) ||
            (description->dwFlags & ~BUFFER_FLAGS_SUPPLIED) != 0 || description->dwReserved != 0 ||
            description->dwBufferBytes < DSBSIZE_MIN || description->dwBufferBytes > DSBSIZE_MAX ||
            description->lpwfxFormat == nullptr) {
            return DSERR_INVALIDPARAM;
        }
        if (!supported_pcm(*description->lpwfxFormat)) return DSERR_BADFORMAT;
        *buffer = new SoundBuffer(*description->lpwfxFormat, description->dwFlags, description->dwBufferBytes);
        return DS_OK;
    }
    HRESULT GetCaps(DSCAPS*) override {
        enter("IDirectSound::GetCaps");
        return DSERR_UNSUPPORTED;
    }
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer*, IDirectSoundBuffer** duplicate) override {
        enter("IDirectSound::DuplicateSoundBuffer");
        if (duplicate != nullptr) *duplicate = nullptr;
        return DSERR_UNSUPPORTED;
    }
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override {
        if (!enter("IDirectSound::SetCooperativeLevel")) return DSERR_GENERIC;
        if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_LAST_LEVEL) return DSERR_INVALIDPARAM;
        return DS_OK;
    }
    HRESULT Compact() override {
        enter("IDirectSound::Compact");
        return DS_OK;
    }
    HRESULT GetSpeakerConfig(DWORD*) override {
        enter("IDirectSound::GetSpeakerConfig");
        return DSERR_UNSUPPORTED;
    }
    HRESULT SetSpeakerConfig(DWORD) override {
        enter("IDirectSound::SetSpeakerConfig");
        return DSERR_UNSUPPORTED;
    }
    HRESULT Initialize(const GUID*) override {
        enter("IDirectSound::Initialize");
        return DSERR_ALREADYINITIALIZED;
    }

private:
    ULONG references_ = 1;
};

// ---- the recording ---------------------------------------------------------------------

// Recordings longer than this are cut: a clock set far ahead must not fill the memory.
constexpr double LONGEST_RECORDING_SECONDS = 6 * 3600.0;

struct Recording {
    bool running = false;
    std::string path;
    double start = 0.0;
    bool has_format = false;
    WAVEFORMATEX format{};
    std::vector<BYTE> data;

    BYTE silence() const { return format.wBitsPerSample == 8 ? 0x80 : 0x00; }
    // The byte offset of clock time `seconds`, or false when it lies outside the recording.
    bool offset_of(double seconds, std::size_t& offset) const {
        const double frames = std::floor((seconds - start) * format.nSamplesPerSec + CLOCK_ROUNDING_FRAMES);
        if (!(frames >= 0.0 && frames <= LONGEST_RECORDING_SECONDS * format.nSamplesPerSec)) return false;
        offset = static_cast<std::size_t>(frames) * format.nBlockAlign;
        return true;
    }
    void extend_to(std::size_t bytes) {
        if (data.size() < bytes) data.resize(bytes, silence());
    }
};

Recording& recording() {
    static Recording instance;
    return instance;
}

void mix(const WAVEFORMATEX& format, BYTE* into, const BYTE* samples, std::size_t bytes) {
    if (format.wBitsPerSample == 8) {
        for (std::size_t i = 0; i < bytes; ++i) into[i] = static_cast<BYTE>(std::clamp(into[i] + samples[i] - 128, 0, 255));
        return;
    }
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const int a = static_cast<std::int16_t>(into[i] | into[i + 1] << 8);
        const int b = static_cast<std::int16_t>(samples[i] | samples[i + 1] << 8);
        const int sum = std::clamp(a + b, -32768, 32767);
        into[i] = static_cast<BYTE>(sum & 0xFF);
        into[i + 1] = static_cast<BYTE>((sum >> 8) & 0xFF);
    }
}

void put_u32(std::FILE* file, std::uint32_t value) {
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                           static_cast<BYTE>(value >> 24)};
    std::fwrite(bytes, 1, 4, file);
}
void put_u16(std::FILE* file, std::uint16_t value) {
    const BYTE bytes[2] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8)};
    std::fwrite(bytes, 1, 2, file);
}

bool write_wave_file(const Recording& take) {
    std::FILE* file = std::fopen(take.path.c_str(), "wb");
    if (file == nullptr) return false;
    const auto data_bytes = static_cast<std::uint32_t>(take.data.size());
    std::fwrite("RIFF", 1, 4, file);
    put_u32(file, 36 + data_bytes + (data_bytes & 1));
    std::fwrite("WAVEfmt ", 1, 8, file);
    put_u32(file, 16);
    put_u16(file, take.format.wFormatTag);
    put_u16(file, take.format.nChannels);
    put_u32(file, take.format.nSamplesPerSec);
    put_u32(file, take.format.nAvgBytesPerSec);
    put_u16(file, take.format.nBlockAlign);
    put_u16(file, take.format.wBitsPerSample);
    std::fwrite("data", 1, 4, file);
    put_u32(file, data_bytes);
    std::fwrite(take.data.data(), 1, take.data.size(), file);
    if ((data_bytes & 1) != 0) std::fputc(0, file);
    const bool written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}

} // namespace

PLATFORM_API HRESULT DirectSoundCreate(const GUID* device, IDirectSound** sound, LPUNKNOWN outer) {
    if (sound != nullptr) *sound = nullptr;
    if (!enter("DirectSoundCreate")) return DSERR_NODRIVER;
    if (sound == nullptr) return DSERR_INVALIDPARAM;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    if (device != nullptr) return DSERR_NODRIVER;
    *sound = new SoundDevice;
    return DS_OK;
}

namespace platform {

namespace detail {

void settle_sound() {
    for (SoundBuffer* buffer : sound_buffers()) buffer->record_so_far();
}

void record_samples(const WAVEFORMATEX& format, double start, const BYTE* samples, std::size_t bytes) {
    Recording& take = recording();
    if (!take.running || bytes == 0) return;
    if (!take.has_format) {
        take.format = format;
        take.format.cbSize = 0;
        take.has_format = true;
    }
    if (!same_format(take.format, format)) return;
    std::size_t offset = 0;
    if (!take.offset_of(start, offset)) {
        // Sound that began before the recording: only its part after the start counts.
        if (!(start < take.start)) return;
        const double skipped_frames = std::ceil((take.start - start) * format.nSamplesPerSec);
        const double skipped = skipped_frames * format.nBlockAlign;
        if (!(skipped < static_cast<double>(bytes))) return;
        samples += static_cast<std::size_t>(skipped);
        bytes -= static_cast<std::size_t>(skipped);
        offset = 0;
    }
    std::size_t limit = 0;
    take.offset_of(take.start + LONGEST_RECORDING_SECONDS, limit);
    if (offset >= limit) return;
    bytes = std::min(bytes, limit - offset);
    take.extend_to(offset + bytes);
    mix(take.format, take.data.data() + offset, samples, bytes);
}

void discard_recording() { recording() = Recording{}; }

} // namespace detail

bool sound_playing() {
    for (SoundBuffer* buffer : sound_buffers()) {
        if (buffer->playing()) return true;
    }
    return false;
}

bool start_recording(const std::string& path) {
    Recording& take = recording();
    if (take.running) return false;
    take = Recording{};
    take.running = true;
    take.path = path;
    take.start = detail::now();
    // Until a buffer plays, silence in a plain format.
    take.format = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    return true;
}

bool stop_recording() {
    Recording& take = recording();
    if (!take.running) return false;
    detail::settle_sound();
    std::size_t end = 0;
    if (take.offset_of(detail::now(), end)) take.extend_to(end);
    const bool written = write_wave_file(take);
    take = Recording{};
    return written;
}

} // namespace platform
