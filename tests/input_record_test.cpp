// Recordings: inputs come back in the order each stream took them, and a damaged file is refused.
#include <gtest/gtest.h>

#include <fstream>

#include "devices/input_record.h"
#include "scratch_folder.h"

namespace coilrun {
namespace {

class InputRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { scratch_.Enter("coilrun-record"); }
  void TearDown() override {
    FinishRecordingOrReplay();
    scratch_.Leave();
  }
  ScratchFolder scratch_;
};

TEST_F(InputRecordTest, EveryStreamComesBackInItsOwnOrderAndRunningOutEndsTheReplay) {
  std::array<uint8_t, 256> keys{};
  ASSERT_TRUE(StartRecording("run.rec"));
  RecordSeed(1733500000);
  for (int i = 0; i < 5; ++i) RecordKeyboard(keys);  // A run of five, one line.
  keys[0x1C] = 0x80;
  keys[0xCB] = 0x80;
  RecordKeyboard(keys);
  RecordMessage(false, RecordedMessage{});
  RecordMessage(true, RecordedMessage{8, 0x1234});
  RecordCloseRequest(false);
  RecordCloseRequest(true);
  FinishRecordingOrReplay();

  std::string error;
  ASSERT_TRUE(StartReplay("run.rec", true, &error)) << error;
  EXPECT_TRUE(FastReplay());
  uint32_t seed = 0;
  ASSERT_TRUE(ReplaySeed(&seed));
  EXPECT_EQ(seed, 1733500000u);
  std::array<uint8_t, 256> read{};
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(ReplayKeyboard(&read));
  EXPECT_EQ(read, (std::array<uint8_t, 256>{}));
  ASSERT_TRUE(ReplayKeyboard(&read));
  EXPECT_EQ(read, keys);
  bool taken = true;
  RecordedMessage message{};
  ASSERT_TRUE(ReplayMessage(&taken, &message));
  EXPECT_FALSE(taken);
  ASSERT_TRUE(ReplayMessage(&taken, &message));
  EXPECT_TRUE(taken);
  EXPECT_EQ(message.code, 8u);
  EXPECT_EQ(message.wParam, 0x1234u);
  bool requested = true;
  for (bool expected : {false, true}) {
    ASSERT_TRUE(ReplayCloseRequest(&requested));
    EXPECT_EQ(requested, expected);
  }
  EXPECT_FALSE(ReplayFinished());
  ASSERT_TRUE(ReplayKeyboard(&read));  // The keys have run out: the replay is over.
  EXPECT_TRUE(ReplayFinished());
  ASSERT_TRUE(ReplayCloseRequest(&requested));
  EXPECT_TRUE(requested);
}

TEST_F(InputRecordTest, ADamagedRecordingIsRefusedWithTheLineThatIsWrong) {
  std::string error;
  for (const char* body : {"k 3 1c 100\n", "s 1 99999999999\n", "m 2 8\n", "c 1 2\n", "x 1 0\n", "k 0 1c\n",
                           "k 2 zz\n"}) {
    std::ofstream("bad.rec") << "coilrun-replay 1\n" << body;
    EXPECT_FALSE(StartReplay("bad.rec", false, &error)) << body;
    EXPECT_NE(error.find("malformed line"), std::string::npos) << body;
  }
  std::ofstream("other.rec") << "something else\n";
  EXPECT_FALSE(StartReplay("other.rec", false, &error));
  EXPECT_FALSE(StartReplay("missing.rec", false, &error));
  EXPECT_FALSE(Replaying());
}

}  // namespace
}  // namespace coilrun
