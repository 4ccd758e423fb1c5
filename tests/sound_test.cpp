// Sound effects: the wave reader on good and bad files, loading, playing and freeing the one effect.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "devices/sound.h"
#include "devices/wave_file.h"
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

TEST(WaveReaderTest, ReadsTheDataChunkWhateverTheDeclaredRateWidthAndChannels) {
  for (const auto& format : {WaveFormat(1, 1, 11025, 8), WaveFormat(1, 2, 44100, 16),
                             WaveFormat(1, 1, 22050, 8, true)}) {
    std::vector<uint8_t> samples;
    EXPECT_TRUE(Reads(WaveFile({WaveChunk("fmt ", format), WaveChunk("data", kSamples)}), &samples));
    EXPECT_EQ(samples, kSamples);
  }
}

TEST(WaveReaderTest, RequiresPcmInTheFirstChunkWhateverItIsCalled) {
  // A compressed format fails.
  EXPECT_FALSE(Reads(WaveFile({WaveChunk("fmt ", WaveFormat(2, 1, 11025, 4)), WaveChunk("data", kSamples)})));
  // A LIST chunk first is read as the format chunk: it fails unless it happens to begin with 1, 0.
  const std::vector<uint8_t> listText = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 2, 0, 0, 0, 'x', 0,
                                         0,   0,   0,   0,   0,   0};
  EXPECT_FALSE(Reads(WaveFile({WaveChunk("LIST", listText), WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8)),
                               WaveChunk("data", kSamples)})));
  std::vector<uint8_t> pcmLookalike(20, 0);
  pcmLookalike[0] = 1;
  EXPECT_TRUE(Reads(WaveFile({WaveChunk("LIST", pcmLookalike), WaveChunk("data", kSamples)})));
}

TEST(WaveReaderTest, SkipsChunksBeforeDataIncludingOddSizedOnesWithTheirPad) {
  std::vector<uint8_t> samples;
  EXPECT_TRUE(Reads(WaveFile({WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8)), WaveChunk("fact", {1, 2, 3}),
                              WaveChunk("LIST", std::vector<uint8_t>(10, 7)), WaveChunk("data", kSamples)}),
                    &samples));
  EXPECT_EQ(samples, kSamples);
  // An odd-sized format chunk is stepped over with its pad byte.
  std::vector<uint8_t> format = WaveFormat(1, 1, 11025, 8, true);
  format.push_back(0x55);
  EXPECT_TRUE(Reads(WaveFile({WaveChunk("fmt ", format), WaveChunk("data", kSamples)})));
}

TEST(WaveReaderTest, RefusesMalformedFilesWithoutReadingPastThem) {
  const std::vector<uint8_t> good = SimpleWave(kSamples);
  // Every truncation of a good file fails (the data chunk is the last thing in it).
  for (size_t size = 0; size < good.size() - 1; ++size) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(Reads(cut)) << size;
  }
  // A data chunk that claims gigabytes, or more than the file holds.
  std::vector<uint8_t> huge = good;
  const size_t dataSizeAt = huge.size() - kSamples.size() - 1 - 4;  // The samples are odd: one pad byte.
  huge[dataSizeAt + 3] = 0x7F;
  EXPECT_FALSE(Reads(huge));
  // No data chunk, not a wave form, an empty data chunk, a format chunk past the file.
  EXPECT_FALSE(Reads(WaveFile({WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8))})));
  std::vector<uint8_t> avi = good;
  avi[8] = 'A';
  EXPECT_FALSE(Reads(avi));
  EXPECT_FALSE(Reads(SimpleWave({})));
  std::vector<uint8_t> longFormat = good;
  longFormat[16] = 0xFF;
  longFormat[17] = 0xFF;
  EXPECT_FALSE(Reads(longFormat));
}

class SoundTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    ASSERT_TRUE(InitSound());
    dir_ = std::filesystem::temp_directory_path() / ("coilrun-sound-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    MemoryDeviceTest::TearDown();
  }
  std::string Write(const char* name, const std::vector<uint8_t>& bytes) {
    const std::string path = (dir_ / name).string();
    WriteBytes(path, bytes);
    return path;
  }
  std::filesystem::path dir_;
};

TEST_F(SoundTest, LoadCopiesTheSamplesIntoTheBufferAndPlaysOnceEachRequest) {
  MemorySplitSoundLockAt(4);  // The lock hands out two regions; both get their share.
  ASSERT_TRUE(LoadEffect(Write("EAT.WAV", SimpleWave(kSamples)).c_str()));
  EXPECT_EQ(EffectData, kSamples);
  EXPECT_EQ(EffectSize, kSamples.size());
  EXPECT_EQ(MemorySoundBuffer(), kSamples);
  EXPECT_TRUE(PlayEffect(0));
  EXPECT_TRUE(PlayEffect(0));
  EXPECT_TRUE(PlayEffect(1));
  const auto& log = MemorySoundLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1].what, "play");
  EXPECT_EQ(log[2].what, "play");
  EXPECT_EQ(log[3].what, "loop");
  EXPECT_EQ(log[1].checksum, MemorySampleChecksum(kSamples));
}

TEST_F(SoundTest, FailedLoadsAndDoubleFreesLeaveNothingBehindAndPlayThenPlaysNothing) {
  FreeEffect();
  EXPECT_FALSE(LoadEffect((dir_ / "MISSING.WAV").c_str()));
  EXPECT_FALSE(LoadEffect(Write("BAD.WAV", {'R', 'I', 'F', 'F'}).c_str()));
  for (MemorySoundStep step : {MemorySoundStep::kLock, MemorySoundStep::kCreateBuffer, MemorySoundStep::kUnlock}) {
    MemoryRefuseSoundStep(step);
    EXPECT_FALSE(LoadEffect(Write("OK.WAV", SimpleWave(kSamples)).c_str()));
    FreeEffect();
    FreeEffect();
    MemoryRefuseSoundStep(step, false);
  }
  EXPECT_EQ(MemoryLiveSoundBuffers(), 0);
  EXPECT_TRUE(EffectData.empty());
  EXPECT_FALSE(PlayEffect(0));
}

TEST_F(SoundTest, TenThousandLoadAndFreeCyclesLeaveNothingBehind) {
  const std::string path = Write("EAT.WAV", SimpleWave(std::vector<uint8_t>(2000, 100)));
  for (int i = 0; i < 10000; ++i) {
    ASSERT_TRUE(LoadEffect(path.c_str()));
    FreeEffect();
  }
  EXPECT_EQ(MemoryLiveSoundBuffers(), 0);
  EXPECT_EQ(EffectData.capacity(), 0u);
}

TEST_F(MemoryDeviceTest, SoundInitFailsWhenTheDeviceRefusesAndReleaseIsSafeAfter) {
  MemoryRefuseSoundStep(MemorySoundStep::kCooperativeLevel);
  EXPECT_FALSE(InitSound());
  ReleaseSound();
  ReleaseSound();
}

}  // namespace
}  // namespace coilrun
