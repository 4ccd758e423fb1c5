// Recordings: inputs come back in the order each stream took them, a damaged file is refused, and a
// recording that fails to be written or is cut by the power never stops the game nor is taken for whole.
#include "devices/input_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "devices/clock_device.h"
#include "devices/file_device.h"
#include "devices/key_codes.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// A keyboard that holds Return, or nothing when `held` is false.
bool held = false;
void ReadReturn(KeySnapshot* keys) {
  keys->fill(0);
  if (held) (*keys)[kKeyReturn] = kKeyHeld;
}

// Takes `count` snapshots and messages, a second of the clock apart, so that each is handed to the file.
void PlaySeconds(int count) {
  KeySnapshot keys{};
  Message message;
  for (int i = 0; i < count; ++i) {
    held = i % 2 == 0;
    TakeKeySnapshot(&keys, ReadReturn);
    TakeMessage(&message);
    DeviceSleepNanoseconds(1'000'000'000);
  }
}

class InputRecordTest : public MemoryDeviceTest {
 protected:
  void TearDown() override {
    ResetInputRecord();
    MemoryDeviceTest::TearDown();
  }
};

// Every input comes back in its stream's order: a message with its code and full 64-bit parameter, none
// taken as none, the seed, the keys as held, and a close only where the recording asked for one.
TEST_F(InputRecordTest, EveryInputComesBackInItsStreamsOrder) {
  std::string why;
  ASSERT_TRUE(StartRecording("run.rec", &why)) << why;
  MemorySetCalendarSeconds(1234);
  EXPECT_EQ(TakeSeed(), 1234u);
  Message message;
  EXPECT_FALSE(TakeMessage(&message));
  MemoryQueueMessage(Message{8, 0x123456789, 0});
  EXPECT_TRUE(TakeMessage(&message));
  PlaySeconds(3);
  EXPECT_FALSE(TakeCloseRequest());
  EXPECT_EQ(FinishRecordingOrReplay(), "");

  std::string error;
  ASSERT_TRUE(StartReplay("run.rec", true, &error)) << error;
  EXPECT_TRUE(FastReplay());
  MemorySetCalendarSeconds(99);
  EXPECT_EQ(TakeSeed(), 1234u);
  message = Message{};
  EXPECT_FALSE(TakeMessage(&message));
  ASSERT_TRUE(TakeMessage(&message));
  EXPECT_EQ(std::make_pair(message.code, message.wParam), std::make_pair(8u, uint64_t{0x123456789}));
  KeySnapshot keys{};
  for (int i = 0; i < 3; ++i) {
    TakeKeySnapshot(&keys, [](KeySnapshot*) { FAIL() << "a replay read the keyboard"; });
    EXPECT_EQ(keys[kKeyReturn] != 0, i % 2 == 0) << i;
    TakeMessage(&message);
  }
  EXPECT_FALSE(TakeCloseRequest());
  EXPECT_FALSE(ReplayFinished());
  // Past its end a replay asks to close.
  EXPECT_TRUE(TakeCloseRequest());
  EXPECT_TRUE(ReplayFinished());
}

// A damaged or hostile file is refused with its line number, a number too large for its field or signed
// counting as out of range, the line shown without terminal controls, and no file past the size cap read.
TEST_F(InputRecordTest, ADamagedRecordingIsRefusedWithTheLineThatIsWrongShownSafely) {
  struct Case {
    std::string body;
    const char* said;
  };
  const Case cases[] = {
      {"k 3 1c 100\n", "line 2: number out of range"},
      {"s 1 99999999999\n", "line 2: number out of range"},
      {"c 1 2\n", "line 2: number out of range"},
      {"k 0 1c\n", "line 2: number out of range"},
      {"k -1\n", "line 2: number out of range: k -1"},
      {"k 18446744073709551616\n", "line 2: number out of range"},
      {"k 1 1c\nm 1 -8 0\n", "line 3: number out of range"},
      {"m 2 8\n", "line 2: malformed line"},
      {"x 1 0\n", "line 2: malformed line"},
      {"k 2 zz\n", "line 2: malformed line"},
      {"c 1 0\n\x1b]0;owned\x07\x1b[2J\x9b" + std::string(100, 'A') + "\n",
       "line 3: malformed line: ?]0;owned??[2J?AAAA"},
  };
  std::string error;
  for (const Case& c : cases) {
    MemoryPutFile("bad.rec", Bytes("coilrun-replay 2\n" + c.body));
    EXPECT_FALSE(StartReplay("bad.rec", false, &error)) << c.body;
    EXPECT_NE(error.find(std::string("bad.rec ") + c.said), std::string::npos) << error;
    EXPECT_LT(error.size(), 150u) << error;
    EXPECT_TRUE(std::all_of(error.begin(), error.end(), [](char ch) { return ch >= ' ' && ch <= '~'; }));
  }
  MemoryPutFile("other.rec", Bytes("something else\n"));
  EXPECT_FALSE(StartReplay("other.rec", false, &error));
  // A recording of the format before the key waits looked for a new press would not replay its game.
  MemoryPutFile("old.rec", Bytes("coilrun-replay 1\nk 1 1c\n"));
  EXPECT_FALSE(StartReplay("old.rec", false, &error));
  EXPECT_EQ(error, "old.rec was made by an earlier version of the game");
  EXPECT_FALSE(StartReplay("missing.rec", false, &error));
  // An hour of busy play makes about half a megabyte: eight hours are read, and a file larger than the cap
  // is refused before it is parsed.
  std::string huge = "coilrun-replay 2\n";
  while (huge.size() <= (size_t{8} << 20)) huge += "c 1 0\nk 1 1c cb\n";
  MemoryPutFile("huge.rec", Bytes(huge));
  EXPECT_FALSE(StartReplay("huge.rec", false, &error));
  EXPECT_NE(error.find("cannot read huge.rec: larger than"), std::string::npos) << error;
  huge.resize(size_t{4} << 20);
  huge.resize(huge.rfind('\n') + 1);
  MemoryPutFile("long.rec", Bytes(huge));
  EXPECT_TRUE(StartReplay("long.rec", true, &error)) << error;
}

// A recording that cannot be made, or whose first line cannot be written, is refused before the game; one
// whose later write fails stops there with the reason kept for the end, and the game's inputs still come
// from the devices.
TEST_F(InputRecordTest, AFailedWriteStopsTheRecordingWithItsReasonAndNotTheGame) {
  std::string why;
  MemoryPutSpecialFile("pipe.rec");
  EXPECT_FALSE(StartRecording("pipe.rec", &why));
  EXPECT_EQ(why, "not a regular file");
  MemoryFailFileOperation("append head.rec");
  EXPECT_FALSE(StartRecording("head.rec", &why));
  EXPECT_EQ(why, "Input/output error");
  EXPECT_FALSE(Recording());

  ASSERT_TRUE(StartRecording("run.rec", &why)) << why;
  PlaySeconds(2);
  MemoryFailFileOperation("append run.rec");
  PlaySeconds(2);
  EXPECT_FALSE(Recording());
  KeySnapshot keys{};
  held = true;
  TakeKeySnapshot(&keys, ReadReturn);
  EXPECT_NE(keys[kKeyReturn], 0);
  EXPECT_EQ(FinishRecordingOrReplay(), "Input/output error");
  EXPECT_EQ(FinishRecordingOrReplay(), "");
  // What reached the file before the failure replays, and ends where it stops.
  std::string error;
  ASSERT_TRUE(StartReplay("run.rec", true, &error)) << error;
  PlaySeconds(1);
  EXPECT_FALSE(ReplayFinished());
  EXPECT_TRUE(TakeCloseRequest());
}

// The recording is on the disk once it is finished. A power cut in the middle of play leaves the first
// line, flushed before the game, and whatever whole sectors of the rest reached the disk: a file that
// replays up to where it was cut, or is refused with its line, never taken for a whole game.
TEST_F(InputRecordTest, APowerCutLeavesARecordingThatReplaysUpToTheCut) {
  std::string why;
  ASSERT_TRUE(StartRecording("run.rec", &why)) << why;
  PlaySeconds(3);
  EXPECT_EQ(FinishRecordingOrReplay(), "");
  const std::vector<uint8_t> whole = MemoryFileBytes("run.rec");
  MemoryCutPowerAfter(static_cast<int>(MemoryFileJournal().size()) + 1);
  std::vector<uint8_t> read;
  EXPECT_TRUE(DeviceReadWholeFile("run.rec", whole.size(), &read, &why)) << why;
  EXPECT_EQ(MemoryFileBytes("run.rec"), whole);
  std::string error;

  for (uint32_t kept : {0u, 1u}) {
    SCOPED_TRACE(kept);
    MemoryResetFiles();
    ASSERT_TRUE(StartRecording("cut.rec", &why)) << why;
    MemoryCutPowerAfter(static_cast<int>(MemoryFileJournal().size()) + 2, kept);
    PlaySeconds(40);
    EXPECT_EQ(FinishRecordingOrReplay(), "Input/output error");
    const std::vector<uint8_t> cut = MemoryFileBytes("cut.rec");
    ASSERT_GE(cut.size(), 17u);
    EXPECT_EQ(std::string(cut.begin(), cut.begin() + 17), "coilrun-replay 2\n");
    // The power comes back.
    MemoryResetFiles();
    MemoryPutFile("cut.rec", cut);
    if (StartReplay("cut.rec", true, &error)) {
      PlaySeconds(40);
      EXPECT_TRUE(ReplayFinished());
    } else {
      EXPECT_NE(error.find("cut.rec line "), std::string::npos) << error;
    }
    FinishRecordingOrReplay();
  }
}

}  // namespace
}  // namespace coilrun
