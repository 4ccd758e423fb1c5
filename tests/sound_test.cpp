// Sound effects: the wave reader on good and bad files, loading, playing and freeing the one effect.
#include "devices/sound.h"

#include <gtest/gtest.h>

#include <string>

#include "devices/wave_file.h"
#include "file_bytes.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_sound.h"
#include "test_support.h"
#include "wave_files.h"

namespace coilrun {
namespace {

const std::vector<uint8_t> kSamples = {128, 140, 150, 140, 128, 116, 106, 116, 128};

bool Reads(const std::vector<uint8_t>& file, std::vector<uint8_t>* samples = nullptr) {
  std::vector<uint8_t> out;
  const bool ok = ReadWaveSamples(file.data(), file.size(), &out);
  if (samples != nullptr) *samples = out;
  return ok;
}

// Whatever the declared rate, width and channels, the data chunk's bytes are the samples. The first chunk is
// taken as the format chunk whatever it is called, of 16 bytes or more, and chunks before the data are
// stepped over with the pad byte that follows an odd size.
TEST(WaveReaderTest, ReadsTheDataChunkOfAnyPcmFile) {
  std::vector<uint8_t> oddFormat = WaveFormat(1, 1, 11025, 8, true);
  oddFormat.push_back(0x55);
  std::vector<uint8_t> pcmLookalike(20, 0);
  pcmLookalike[0] = 1;
  const std::vector<uint8_t> data = WaveChunk("data", kSamples);
  for (const auto& file :
       {WaveFile({WaveChunk("fmt ", WaveFormat(1, 2, 44100, 16)), data}),
        WaveFile({WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8)), WaveChunk("fact", {1, 2, 3}),
                  WaveChunk("LIST", std::vector<uint8_t>(10, 7)), data}),
        WaveFile({WaveChunk("fmt ", oddFormat), data}), WaveFile({WaveChunk("LIST", pcmLookalike), data})}) {
    std::vector<uint8_t> samples;
    EXPECT_TRUE(Reads(file, &samples));
    EXPECT_EQ(samples, kSamples);
  }
}

TEST(WaveReaderTest, RefusesMalformedFilesWithoutReadingPastThem) {
  const std::vector<uint8_t> good = SimpleWave(kSamples);
  // Every truncation of a good file fails (the data chunk is the last thing in it).
  for (size_t size = 0; size < good.size() - 1; ++size) {
    EXPECT_FALSE(Reads(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))));
  }
  // One byte changed: a data chunk that claims gigabytes (the top byte of its size, before the odd samples
  // and their pad byte), a form that is not a wave form, a format chunk that runs far past the file.
  for (const auto& [at, value] :
       {std::pair<size_t, uint8_t>{good.size() - kSamples.size() - 2, 0x7F}, {8, 'A'}, {17, 0xFF}}) {
    std::vector<uint8_t> bad = good;
    bad[at] = value;
    EXPECT_FALSE(Reads(bad)) << at;
  }
  // A LIST chunk first is read as the format chunk: not PCM.
  const std::vector<uint8_t> listText = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 2, 0,
                                         0,   0,   'x', 0,   0,   0,   0,   0,   0, 0};
  const std::vector<uint8_t> format = WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8));
  for (const auto& file :
       {WaveFile({WaveChunk("fmt ", WaveFormat(2, 1, 11025, 4)), WaveChunk("data", kSamples)}),
        WaveFile({WaveChunk("LIST", listText), format, WaveChunk("data", kSamples)}), WaveFile({format}),
        SimpleWave({})}) {
    EXPECT_FALSE(Reads(file));
  }
}

class SoundTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    ASSERT_TRUE(InitSound());
  }
};

const char* Write(const char* name, const std::vector<uint8_t>& bytes) {
  MemoryPutFile(name, bytes);
  return name;
}

TEST_F(SoundTest, LoadCopiesTheSamplesIntoTheBufferPlaysOnceEachRequestAndFreesAll) {
  MemorySplitSoundLockAt(4);  // The lock hands out two regions; both get their share.
  ASSERT_TRUE(LoadEffect(Write("EAT.WAV", SimpleWave(kSamples))));
  EXPECT_EQ(EffectData, kSamples);
  EXPECT_EQ(MemorySoundBuffer(), kSamples);
  EXPECT_TRUE(PlayEffect(0));
  EXPECT_TRUE(PlayEffect(0));
  EXPECT_TRUE(PlayEffect(1));
  EXPECT_EQ(MemorySoundLog().back().what, "loop");
  FreeEffect();
  EXPECT_EQ(MemoryLiveSoundBuffers(), 0);
  EXPECT_EQ(EffectData.capacity(), 0u);
}

TEST_F(SoundTest, FailedLoadsAndDoubleFreesLeaveNothingBehindAndPlayThenPlaysNothing) {
  FreeEffect();
  EXPECT_FALSE(LoadEffect("MISSING.WAV"));
  EXPECT_FALSE(LoadEffect(Write("BAD.WAV", {'R', 'I', 'F', 'F'})));
  for (MemorySoundStep step :
       {MemorySoundStep::kLock, MemorySoundStep::kCreateBuffer, MemorySoundStep::kUnlock}) {
    MemoryRefuseSoundStep(step);
    EXPECT_FALSE(LoadEffect(Write("OK.WAV", SimpleWave(kSamples))));
    FreeEffect();
    FreeEffect();
    MemoryRefuseSoundStep(step, false);
  }
  EXPECT_EQ(MemoryLiveSoundBuffers(), 0);
  EXPECT_TRUE(EffectData.empty());
  EXPECT_FALSE(PlayEffect(0));
}

TEST_F(MemoryDeviceTest, SoundInitFailsWhenTheDeviceRefusesAndReleaseIsSafeAfter) {
  MemoryRefuseSoundStep(MemorySoundStep::kCooperativeLevel);
  EXPECT_FALSE(InitSound());
  ReleaseSound();
  ReleaseSound();
}

}  // namespace
}  // namespace coilrun
