// The golden game: a recorded whole game on the tests' data set, replayed over the in-memory devices, ends
// exactly as it did when it was recorded (`make demos` writes both again after a deliberate change).
#include "golden_game.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/entry.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "game_data.h"
#include "scratch_folder.h"
#include "test_support.h"

namespace coilrun {
namespace {

const std::string kGolden = std::string(COILRUN_SOURCE_DIR) + "/tests/golden/whole-game";

// The expected summary's lines, and the frames it names.
std::vector<std::string> ExpectedLines(std::vector<ChosenFrame>* chosen) {
  std::ifstream in(kGolden + ".expected");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
    std::istringstream words(line);
    std::string word;
    ChosenFrame frame;
    if (words >> word >> frame.index >> frame.label && word == "frame") chosen->push_back(frame);
  }
  return lines;
}

class GoldenGameTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    scratch_.Enter("coilrun-golden");
    PutGameData();
  }
  void TearDown() override {
    scratch_.Leave();
    MemoryDeviceTest::TearDown();
  }
  ScratchFolder scratch_;
};

// Every stage reached, eating, growth and new places, deaths, the pause dialog gone on from
// and quit from, the score table, the high-score screen and the way back to Exit.
TEST_F(GoldenGameTest, TheRecordedWholeGameEndsAsRecorded) {
  std::vector<ChosenFrame> chosen;
  const std::vector<std::string> expected = ExpectedLines(&chosen);
  ASSERT_GT(expected.size(), 10u) << "no golden game in " << kGolden;
  std::string name = "coilrun";
  std::string replay = "--replay";
  std::string file = "whole-game.rec";
  ASSERT_TRUE(MemoryPutFileFromDisk(file, kGolden + ".rec"));
  char* argv[] = {name.data(), replay.data(), file.data(), nullptr};
  const uint64_t ticksBefore = TicksPlayed();
  testing::internal::CaptureStdout();
  const int status = RunCoilrun(3, argv);
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(status, 0);
  const std::vector<std::string> actual = GoldenGameLines(TicksPlayed() - ticksBefore, chosen);
  for (size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
    EXPECT_EQ(i < actual.size() ? actual[i] : "(none)", i < expected.size() ? expected[i] : "(none)")
        << "line " << i + 1 << " of " << kGolden << ".expected";
  }
}

}  // namespace
}  // namespace coilrun
