// The platform services the radio altimeter relies on where Windows is absent: Windows
// paths, the RIFF chunk walk, and a sound device that keeps time and records.
#include "radio_altimeter_support.h"

#include <cstring>

namespace {

class PlatformTest : public ::testing::Test {
protected:
    FreshDirectory directory;
    void TearDown() override { EXPECT_EQ(platform::open_objects().total(), 0u); }
};

TEST_F(PlatformTest, WindowsPathsMatchEachComponentWithoutRegardToCase) {
    write_file("Sound/Ra_Beep.wav", {1, 2, 3});
    char path[] = ".\\SOUND\\\\ra_beep.WAV";
    HMMIO file = mmioOpenA(path, nullptr, MMIO_ALLOCBUF | MMIO_READ);
    ASSERT_NE(file, nullptr);
    char bytes[4] = {};
    EXPECT_EQ(mmioRead(file, bytes, 4), 3);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
    char missing[] = ".\\Sound\\none.wav";
    EXPECT_EQ(mmioOpenA(missing, nullptr, MMIO_READ), nullptr);
}

TEST_F(PlatformTest, TextModeOpensAreRefused) {
    write_file("settings", {1});
    EXPECT_EQ(_sopen("settings", _O_RDONLY, _SH_DENYNO), -1);
}

TEST_F(PlatformTest, FindChunkSkipsPaddedChunksAndStaysInsideItsParent) {
    write_file("a.wav", riff_file("WAVE", {{"odd ", Bytes(3, 9)}, {"fmt ", pcm_format()}}));
    char path[] = "a.wav";
    HMMIO file = mmioOpenA(path, nullptr, MMIO_ALLOCBUF | MMIO_READ);
    ASSERT_NE(file, nullptr);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.dwDataOffset, 8u);
    MMCKINFO chunk{};
    std::memcpy(&chunk.ckid, "fmt ", 4);
    ASSERT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(chunk.dwDataOffset, 12u + 8 + 4 + 8);
    EXPECT_EQ(chunk.cksize, 16u);
    ASSERT_EQ(mmioAscend(file, &chunk, 0), MMSYSERR_NOERROR);
    std::memcpy(&chunk.ckid, "data", 4);
    EXPECT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(file, 0);
}

TEST_F(PlatformTest, RecordsWhatThePlayedBufferSoundsAtTheClocksMoments) {
    const std::string recording = "take.wav";
    platform::set_clock(100.0);
    ASSERT_TRUE(platform::start_recording(recording));
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
    DSBUFFERDESC description{20, DSBCAPS_STATIC, 800, 0, &format};
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    void* region = nullptr;
    DWORD region_bytes = 0;
    ASSERT_EQ(buffer->Lock(0, 800, &region, &region_bytes, nullptr, nullptr, 0), DS_OK);
    const Bytes tone = tone_samples(800);
    std::memcpy(region, tone.data(), 800);
    ASSERT_EQ(buffer->Unlock(region, 800, nullptr, 0), DS_OK);

    platform::set_clock(100.5); // sample 4000 of the recording
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    platform::set_clock(100.55); // 400 samples in (by the clock's decimal time), start again
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    platform::set_clock(102.0);
    DWORD status = 1;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    ASSERT_TRUE(platform::stop_recording());
    buffer->Release();
    device->Release();

    const Bytes file = read_file(recording);
    ASSERT_EQ(file.size(), 44u + 16000);
    const Bytes data(file.begin() + 44, file.end());
    EXPECT_EQ(data[3999], 0x80); // silence before
    EXPECT_TRUE(std::equal(tone.begin(), tone.begin() + 400, data.begin() + 4000));
    EXPECT_TRUE(std::equal(tone.begin(), tone.end(), data.begin() + 4400)); // no second copy mixed in
    EXPECT_EQ(data[5200], 0x80);
}

} // namespace
