// Recordings: inputs come back in the order each stream took them, and a damaged file is refused.
#include "devices/input_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>

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

// A message taken comes back with its code and its full 64-bit parameter; one not taken as none.
TEST_F(InputRecordTest, AMessageComesBackWithItsCodeAndParameter) {
  ASSERT_TRUE(StartRecording("run.rec"));
  RecordMessage(false, RecordedMessage{});
  RecordMessage(true, RecordedMessage{8, 0x123456789});
  FinishRecordingOrReplay();
  std::string error;
  ASSERT_TRUE(StartReplay("run.rec", true, &error)) << error;
  bool taken = true;
  RecordedMessage message{};
  ASSERT_TRUE(ReplayMessage(&taken, &message));
  EXPECT_FALSE(taken);
  ASSERT_TRUE(ReplayMessage(&taken, &message) && taken);
  EXPECT_EQ(std::make_pair(message.code, message.wParam), std::make_pair(8u, uint64_t{0x123456789}));
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
    std::ofstream("bad.rec") << "coilrun-replay 2\n" << c.body;
    EXPECT_FALSE(StartReplay("bad.rec", false, &error)) << c.body;
    EXPECT_NE(error.find(std::string("bad.rec ") + c.said), std::string::npos) << error;
    EXPECT_LT(error.size(), 150u) << error;
    EXPECT_TRUE(std::all_of(error.begin(), error.end(), [](char ch) { return ch >= ' ' && ch <= '~'; }));
  }
  std::ofstream("other.rec") << "something else\n";
  EXPECT_FALSE(StartReplay("other.rec", false, &error));
  // A recording of the format before the key waits looked for a new press would not replay its game.
  std::ofstream("old.rec") << "coilrun-replay 1\nk 1 1c\n";
  EXPECT_FALSE(StartReplay("old.rec", false, &error));
  EXPECT_EQ(error, "old.rec was made by an earlier version of the game");
  EXPECT_FALSE(StartReplay("missing.rec", false, &error));
  // An hour of busy play makes about half a megabyte: eight hours are read, and a file larger than the cap
  // is refused before it is parsed.
  std::string huge = "coilrun-replay 2\n";
  while (huge.size() <= (size_t{8} << 20)) huge += "c 1 0\nk 1 1c cb\n";
  std::ofstream("huge.rec") << huge;
  EXPECT_FALSE(StartReplay("huge.rec", false, &error));
  EXPECT_NE(error.find("larger than a recording can be"), std::string::npos) << error;
  huge.resize(size_t{4} << 20);
  huge.resize(huge.rfind('\n') + 1);
  std::ofstream("long.rec") << huge;
  EXPECT_TRUE(StartReplay("long.rec", true, &error)) << error;
}

}  // namespace
}  // namespace coilrun
