// Whole-program tests: the real entry from start-up to Exit over the in-memory devices, played by a
// scripted player on the tests' own data set, with the virtual clock.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/entry.h"
#include "app/score_table.h"
#include "app/title_screens.h"
#include "app/window.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "file_bytes.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "game_data.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_sound.h"
#include "platform/memory/memory_window.h"
#include "scratch_folder.h"
#include "scripted_player.h"
#include "test_support.h"

namespace coilrun {
namespace {

namespace fs = std::filesystem;

int32_t FileScore(const std::vector<uint8_t>& file, int place) {
  const uint8_t* p = file.data() + 16 + 4 * place;
  return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                              (uint32_t{p[3]} << 24));
}

// How often the effect with these samples was played.
int Plays(const std::string& wave) {
  const uint64_t checksum = MemorySampleChecksum(GameDataSamples(wave));
  return static_cast<int>(std::count_if(MemorySoundLog().begin(), MemorySoundLog().end(), [&](const auto& e) {
    return e.what == "play" && e.checksum == checksum;
  }));
}

class GameTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    Play = PlayState{};
    ScoreFile.fill(0);
    scratch_.Enter("coilrun-game");
    dir_ = scratch_.Path();
    WriteGameData(dir_);
    MemorySetCalendarSeconds(1234);
  }
  void TearDown() override {
    scratch_.Leave();
    MemoryDeviceTest::TearDown();
  }

  // Runs the whole program with the scripted player; its exit status.
  int RunGame(Plan plan) {
    MemorySetKeyPlayer([plan](uint64_t read) {
      // A player stuck for ever (it never is with this data) gives up through the pause dialog.
      if (read > 2'000'000) return std::vector<uint8_t>{kKeyEscape, kKeyReturn, kKeyUp};
      return ScriptedKeys(plan, ticksBefore_);
    });
    ticksBefore_ = TicksPlayed();
    char name[] = "coilrun";
    char* argv[] = {name, nullptr};
    const int status = RunCoilrun(1, argv);
    MemorySetKeyPlayer(nullptr);
    return status;
  }

  ScratchFolder scratch_;
  fs::path dir_;
  static inline uint64_t ticksBefore_ = 0;
};

TEST_F(GameTest, TheHighScoreScreenDrawsEveryPlaceAsEightDigitsAndNegativeScoresAsZero) {
  std::vector<uint8_t> file(1036, 0);
  const int32_t scores[5] = {123, 100000042, -5, 7, 0};
  for (size_t b = 0; b < sizeof scores; ++b) {
    file[16 + b] = static_cast<uint8_t>(static_cast<uint32_t>(scores[b / 4]) >> (8 * (b % 4)));
  }
  WriteFileBytes("SCORE.DAT", file);
  ASSERT_TRUE(StartUp());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});  // Held from the menu: ends the screen at once.
  ASSERT_EQ(RunHighScoreScreen(), 1);
  const std::vector<uint16_t>& shown = MemoryFrontPixels();
  EXPECT_EQ(shown[12 * 640 + 12], GameDataSheetColour(kHighScoreBannerIndex));
  const char* expected[5] = {"00000123", "00000042", "00000000", "00000007", "00000000"};
  for (int place = 0; place < 5; ++place) {
    for (int k = 0; k < 8; ++k) {
      const int digit = expected[place][7 - k] - '0';
      const int x = 380 - 16 * k + 7;
      const int y = 150 + 50 * place + 11;
      EXPECT_EQ(shown[static_cast<size_t>(y * 640 + x)],
                GameDataSheetColour(static_cast<uint8_t>(kDigitIndex + digit)))
          << "place " << place << " digit " << k;
    }
  }
  ShutDown();
}

// The menu over its own frames: one read of the keys per frame.
class MenuTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    ASSERT_TRUE(StartUp());
  }
  void TearDown() override {
    ShutDown();
    GameTest::TearDown();
  }
  int MovesPlayed() { return Plays("MENU1.WAV"); }
};

TEST_F(MenuTest, UpAndDownWrapMoveTogetherReturnConfirmsTheNewSelectionAndEachMenuStartsOnPlay) {
  const std::vector<std::vector<uint8_t>> frames = {
      {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyUp}, {kKeyUp, kKeyDown}, {kKeyUp, kKeyReturn}};
  for (size_t i = 0; i < frames.size(); ++i) MemoryHoldKeys(MemoryKeyTrigger::kRead, i, frames[i]);
  ASSERT_EQ(RunMainMenu(), 1);
  // 0 -> 1 -> 2 -> 3 -> 0, up to 3, up and down (3), up to 2 and confirmed.
  EXPECT_EQ(ScreenMode, kModeHighScores);
  EXPECT_EQ(MovesPlayed(), 5 + 2 + 1);
  EXPECT_EQ(Plays("MENU2.WAV"), 1);
  EXPECT_EQ(MemoryPresentedFrames().size(), frames.size());
  // The last frame showed the label of the confirmed entry.
  EXPECT_EQ(MemoryFrontPixels()[290 * 640 + 320], GameDataSheetColour(kLabelIndex + kModeHighScores));
  // The menu starts again on its first entry whatever was chosen last: Up goes round to Exit, which plays
  // its own sound.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads(), {kKeyUp, kKeyReturn});
  ASSERT_EQ(RunMainMenu(), 1);
  EXPECT_EQ(ScreenMode, kModeExit);
  EXPECT_EQ(Plays("MENU3.WAV"), 1);
}

TEST_F(MenuTest, AQuitMessageBeforeTheMenuDrawsNothingAndOneDuringItEndsItAfterThatFrame) {
  MemoryQueueMessage(Message{kMessageQuit, 0, 0});
  PumpOneMessage();
  const size_t framesBefore = MemoryPresentedFrames().size();
  ASSERT_EQ(RunMainMenu(), 1);
  EXPECT_EQ(MemoryPresentedFrames().size(), framesBefore);
  EXPECT_EQ(ScreenMode, kModePlay);
}

// Closing the window ends the program within a second from every screen, and records a game cut short.
TEST_F(GameTest, ClosingTheWindowEndsTheProgramPromptlyFromEveryScreen) {
  struct Case {
    const char* screen;
    std::function<bool()> when;
  };
  const std::vector<Case> cases = {
      {"logo", [] { return true; }},
      {"menu", [] { return MemoryPresentedFrames().size() >= 40; }},
      {"play", [] { return TicksPlayed() >= 20; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    MemoryResetAll();
    Play = PlayState{};
    WriteGameData(dir_);
    int64_t closedAt = -1;
    MemorySetKeyPlayer([&](uint64_t) {
      if (closedAt < 0 && c.when()) {
        MemoryRequestClose();
        closedAt = MemoryClockNanoseconds();
      }
      return std::vector<uint8_t>{kKeyReturn};
    });
    char name[] = "coilrun";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(RunCoilrun(1, argv), 0);
    ASSERT_GE(closedAt, 0);
    EXPECT_LT(MemoryClockNanoseconds() - closedAt, 1'000'000'000);
    EXPECT_EQ(MemoryLiveSurfaceCount(), 0);
    if (std::string(c.screen) == "play") {
      EXPECT_EQ(FileScore(ReadFileBytes("SCORE.DAT"), 0), Play.Score);
    }
    MemorySetKeyPlayer(nullptr);
  }
}

// Every data file the way of a game reaches, when missing, ends the program with a line naming it.
TEST_F(GameTest, EachMissingDataFileGivesItsMessageAndStatusOneWithoutLeaking) {
  const std::vector<std::string> files = {
      "ENEMY01.DAT", "ENEMY02.DAT", "DATA.DAT",    "DATA2.DAT", "LOGO.DAT",    "MENU.DAT",
      "MENU1.WAV",   "MENU2.WAV",   "MENU3.WAV",   "BG00.DAT",  "STAGE00.DAT", "EAT.WAV",
      "CLEAR.WAV",   "BG01.DAT",    "STAGE01.DAT", "DIE.WAV",   "BG05.DAT"};
  // The rest are reached sooner by a player who only runs into the border.
  const std::set<std::string> reachedByClearing = {"CLEAR.WAV", "BG01.DAT", "STAGE01.DAT"};
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    MemoryResetAll();
    Play = PlayState{};
    WriteGameData(dir_);
    fs::remove(dir_ / file);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(reachedByClearing.count(file) != 0 ? Plan::kClearThenCrash : Plan::kCrash), 1);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("coilrun: cannot load " + file + ": no such file in "), std::string::npos)
        << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_EQ(MemoryLiveSurfaceCount(), 0);
    EXPECT_EQ(MemoryLiveSoundBuffers(), 0);
  }
}

}  // namespace
}  // namespace coilrun
