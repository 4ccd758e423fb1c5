// Whole-program tests: the real entry from start-up to Exit over the in-memory devices, played by a
// scripted player on the tests' own data set, with the virtual clock.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/entry.h"
#include "app/title_screens.h"
#include "content/assets.h"
#include "content/shared_sprites.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "devices/window.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "game/play_tick.h"
#include "game/score_table.h"
#include "game_data.h"
#include "images/images.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_sound.h"
#include "platform/memory/memory_window.h"
#include "scratch_folder.h"
#include "scripted_player.h"
#include "test_support.h"

namespace coilrun {
namespace {

int32_t FileScore(const std::vector<uint8_t>& file, int place) {
  const uint8_t* p = file.data() + 16 + 4 * place;
  return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                              (uint32_t{p[3]} << 24));
}

// The wave file of the test set whose samples these are, by their checksum.
std::string WaveName(uint64_t checksum) {
  for (int i = kAssetClearWav; i <= kAssetMenu3Wav; ++i) {
    const std::string name = AssetTable[static_cast<size_t>(i)];
    if (MemorySampleChecksum(GameDataSamples(name)) == checksum) return name;
  }
  return "unknown";
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
    PutGameData();
    MemorySetCalendarSeconds(1234);
    scratch_.Enter("coilrun-game");
  }
  void TearDown() override {
    scratch_.Leave();
    MemoryDeviceTest::TearDown();
  }

  // Runs the whole program with the scripted player and these options; its exit status. With `trace`,
  // the play state and the count of body-coloured pixels on the Canvas (what the pixel tests see) as each
  // keyboard read found them go there.
  int RunGame(Plan plan, std::vector<std::string> arguments = {},
              std::vector<std::vector<int>>* trace = nullptr) {
    MemorySetKeyPlayer([plan, trace](uint64_t read) {
      if (trace != nullptr) {
        const int head = Play.HeadIndex;
        trace->push_back({Play.StageIndex, Play.Lives, Play.Score, head, Play.TrailX[head], Play.TrailY[head],
                          Play.Length, Play.EnemyX, Play.EnemyY, Play.EatenCount, Play.Dead,
                          Canvas == nullptr
                              ? -1
                              : static_cast<int>(std::count(Canvas->pixels.begin(), Canvas->pixels.end(),
                                                            Play.BodyColour))});
      }
      return ScriptedKeys(plan, ticksBefore_, read);
    });
    const int status = RunWith(std::move(arguments));
    MemorySetKeyPlayer(nullptr);
    return status;
  }

  // Runs the whole program with these arguments and whatever player is set; its exit status.
  static int RunWith(std::vector<std::string> arguments) {
    // The games here wait less than a minute of virtual time and read the keys a few thousand times: a run
    // far past that never ends, and fails with a message within a second or two.
    MemorySetWaitLimit(int64_t{90} * 1'000'000'000);
    MemorySetReadLimit(100'000);
    ticksBefore_ = TicksPlayed();
    arguments.insert(arguments.begin(), "coilrun");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return RunCoilrun(static_cast<int>(arguments.size()), argv.data());
  }

  // A fresh start: devices, play state and data files as at the start of the test.
  void Restart() {
    MemoryResetAll();
    PutGameData();
  }

  // The program runs in a scratch folder of the test's own.
  ScratchFolder scratch_;
  static inline uint64_t ticksBefore_ = 0;
};

// A save that fails is said in one line; the high-score screen after it still holds the new score, the file
// stays as it was, and the run ends with status 1.
TEST_F(GameTest, AFailedSaveIsSaidKeptOnTheScreenAndEndsTheRunWithStatusOne) {
  MemoryFailFileOperation("write SCORE.DAT");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunGame(Plan::kQuitFromDialog), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "coilrun: cannot save SCORE.DAT: Input/output error\n");
  EXPECT_EQ(MemoryFileBytes("SCORE.DAT"), std::vector<uint8_t>(kScoreFileSize, 0));
  EXPECT_GT(Play.Score, 0);
  EXPECT_EQ(TopScore(0), Play.Score);  // the table the high-score screen read and drew
}

TEST_F(GameTest, APracticeGameStartsAtItsStageKeepsOutOfTheTableAndPlaysTheSameWithTheHud) {
  // The fourth stage has a wall of the body colour under the HUD's lives digit.
  RgbPicture walled{640, 480, std::vector<Rgb>(640 * 480, GameDataBitmapColour("BG03.DAT"))};
  for (int y = 10; y < 40; ++y) std::fill_n(walled.pixels.begin() + y * 640 + 150, 50, Rgb{51, 102, 255});
  const auto putWalledData = [&walled] {
    PutGameData();
    MemoryPutFile("BG03.DAT", MakeBmpFile(walled, BmpVariant::kRgb24));
  };
  putWalledData();
  const auto frames = [] {
    std::vector<uint64_t> checksums;
    for (const auto& frame : MemoryPresentedFrames()) checksums.push_back(frame.checksum);
    return checksums;
  };
  std::vector<std::vector<int>> plain;
  std::vector<std::vector<int>> withHud;
  ASSERT_EQ(RunGame(Plan::kHunt, {"--stage", "4"}, &plain), 0);
  const std::vector<uint64_t> plainFrames = frames();
  Restart();
  putWalledData();
  MemorySetCalendarSeconds(1234);
  ASSERT_EQ(RunGame(Plan::kHunt, {"--hud", "--stage", "4"}, &withHud), 0);
  EXPECT_NE(frames(), plainFrames);
  EXPECT_EQ(withHud, plain);
  // The game began at the fourth stage and ate there; the table kept none of it.
  const auto inPlay =
      std::find_if(plain.begin(), plain.end(), [](const auto& state) { return state[6] > 0; });
  ASSERT_NE(inPlay, plain.end());
  EXPECT_EQ((*inPlay)[0], 3);
  EXPECT_GT(plain.back()[2], 1000);
  EXPECT_EQ(MemoryFileBytes("SCORE.DAT"), std::vector<uint8_t>(kScoreFileSize, 0));
  // Cut short by a file that cannot be loaded at its first death, it keeps out of the table too.
  Restart();
  MemoryRemoveFile("DIE.WAV");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunGame(Plan::kCrash, {"--stage", "4"}), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_GT(Play.Score, 0);
  EXPECT_EQ(MemoryFileBytes("SCORE.DAT"), std::vector<uint8_t>(kScoreFileSize, 0));
  // A stage the game does not have ends the program with one line and status 2.
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--stage", "0"}, {"--stage", "7"}, {"--stage", "4x"}, {"--stage"}}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(Plan::kHunt, bad), 2);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.find("coilrun: --stage wants a stage from 1 to 6"), 0u) << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
  }
}

TEST_F(GameTest, TheHighScoreScreenDrawsEveryPlaceAsEightDigitsAndNegativeScoresAsZero) {
  std::vector<uint8_t> file(kScoreFileSize, 0);
  const int32_t scores[5] = {123, 100000042, -5, 7, 0};
  for (size_t b = 0; b < sizeof scores; ++b) {
    file[16 + b] = static_cast<uint8_t>(static_cast<uint32_t>(scores[b / 4]) >> (8 * (b % 4)));
  }
  MemoryPutFile("SCORE.DAT", file);
  ASSERT_TRUE(StartUp());
  DigitSprites[0]->pixels[3 * kDigitSurfaceWidth + 3] = 0;  // black: the background shows through
  // The Return that chose the screen in the menu, still held, does not end it; pressed again, it does.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 5, {});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 7, {kKeyReturn});
  ASSERT_EQ(RunHighScoreScreen(), 1);
  EXPECT_EQ(MemoryKeyboardReads(), 8u);
  const std::vector<uint16_t>& shown = MemoryFrontPixels();
  EXPECT_EQ(shown[12 * 640 + 12], GameDataSheetColour(kHighScoreBannerIndex));
  const Rgb background = GameDataBitmapColour("BG05.DAT");
  EXPECT_EQ(shown[153 * 640 + 380 - 16 * 3 + 3],
            PackColor(background.red, background.green, background.blue));
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
TEST_F(GameTest, TheMenusUpAndDownWrapMoveTogetherReturnConfirmsTheNewSelectionAndEachMenuStartsOnPlay) {
  ASSERT_TRUE(StartUp());
  const std::vector<std::vector<uint8_t>> frames = {
      {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyUp}, {kKeyUp, kKeyDown}, {kKeyUp, kKeyReturn}};
  for (size_t i = 0; i < frames.size(); ++i) MemoryHoldKeys(MemoryKeyTrigger::kRead, i, frames[i]);
  ASSERT_EQ(RunMainMenu(), 1);
  // 0 -> 1 -> 2 -> 3 -> 0, up to 3, up and down (3), up to 2 and confirmed.
  EXPECT_EQ(ScreenMode, kModeHighScores);
  EXPECT_EQ(Plays("MENU1.WAV"), 5 + 2 + 1);
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
  ShutDown();
}

// Each digit and the stage label sheet hold exactly their rectangles of the sheets and are keyed on black;
// the enemies are loaded unkeyed; the menu draws its label keyed, so its black pixels show the background.
TEST_F(GameTest, TheSpritesAreCutFromTheirRectanglesKeyedBlackAndTheMenuLabelIsKeyed) {
  // Sheets in which every pixel differs from its neighbours, with black here and there.
  for (const auto& [name, width, height] :
       {std::tuple{"DATA.DAT", 600, 460}, std::tuple{"DATA2.DAT", 620, 170}}) {
    std::vector<uint8_t> indices(static_cast<size_t>(width * height));
    for (size_t i = 0; i < indices.size(); ++i)
      indices[i] = static_cast<uint8_t>(i % width + 3 * (i / width));
    MemoryPutFile(name, MakePcxPicture(width, height, indices, DistinctPcxPalette()));
  }
  ASSERT_TRUE(StartUp());
  Surface* data = LoadPcxImage("DATA.DAT");
  Surface* data2 = LoadPcxImage("DATA2.DAT");
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});
  ASSERT_EQ(RunMainMenu(), 1);
  const Placement& label = MenuEntries[0].label;
  const Rgb menu = GameDataBitmapColour("MENU.DAT");
  int wrong = 0;
  for (int y = 0; y < 89; ++y) {
    for (int x = 0; x < 280; ++x) {
      if (y < 22 && x < 150)
        wrong += DigitSprites[x / 15]->pixels[y * 16 + x % 15] !=
                 data->pixels[(100 + y) * 600 + 350 + x / 15 * 16 + x % 15];
      if (x < 162) wrong += StageLabelSheet->pixels[y * 165 + x] != data2->pixels[y * 620 + x];
      if (y < 39 && x < 270) {
        const uint16_t sheet = data->pixels[(label.source.top + y) * 600 + label.source.left + x];
        wrong += MemoryFrontPixels()[(label.y + y) * 640 + label.x + x] !=
                 (sheet == 0 ? PackColor(menu.red, menu.green, menu.blue) : sheet);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  for (const Surface* sprite : DigitSprites) EXPECT_TRUE(sprite->hasColorKey && sprite->colorKey == 0);
  EXPECT_TRUE(StageLabelSheet->hasColorKey && StageLabelSheet->colorKey == 0);
  EXPECT_FALSE(EnemySprite1->hasColorKey || EnemySprite2->hasColorKey);
  ReleaseSurface(data);
  ReleaseSurface(data2);
  ShutDown();
}

// Start-up hides the pointer, then has the window, the display, the sound and the keyboard in that order;
// shut-down gives back the keyboard, the sound and last the display, every surface given back before it.
TEST_F(GameTest, StartUpHasTheDevicesInOrderAndShutDownGivesThemBackInReverse) {
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});          // the logo
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyUp, kKeyReturn});  // the menu: Exit
  ASSERT_EQ(RunWith({}), 0);
  EXPECT_EQ(MemoryLifetimeLog(), std::vector<std::string>({"cursor hidden", "window", "display", "sound",
                                                           "keyboard", "-keyboard", "-sound", "-display"}));
  EXPECT_EQ(MemorySurfacesLiveAtClose(), 0);
}

// Through a game, each screen that waits for a key is on the screen while it waits and then fades out in 33
// frames (the high-score screen does not fade); every attempt keys the enemies white and the play sheet
// black, and loads the eating sound only after its intro has faded; a banner's sound is loaded before it
// plays; every sound plays once, at its moment.
TEST_F(GameTest, EachScreenShowsWhileItWaitsAndFadesOutAndEachSoundPlaysOnceAtItsMoment) {
  struct Seen {
    std::string screen;
    size_t frames;
  };
  std::vector<Seen> seen;
  int wrongKeys = 0;
  std::vector<std::string> loadedAt;  // the effect loaded at each change of screen
  const auto loaded = [] {
    for (int i = kAssetClearWav; i <= kAssetMenu3Wav; ++i) {
      if (EffectData == GameDataSamples(AssetTable[static_cast<size_t>(i)]))
        return std::string(AssetTable[static_cast<size_t>(i)]);
    }
    return std::string("none");
  };
  MemorySetKeyPlayer([&](uint64_t read) {
    const std::string screen = ShownScreen();
    if (seen.empty() || seen.back().screen != screen) {
      seen.push_back({screen, MemoryPresentedFrames().size()});
      loadedAt.push_back(loaded());
    }
    if (screen.rfind("play-", 0) == 0 && PlaySheet != nullptr) {  // in a tick, not a banner's wait
      const uint16_t white = PackColor(255, 255, 255);
      wrongKeys +=
          !(EnemySprite1->hasColorKey && EnemySprite1->colorKey == white && EnemySprite2->hasColorKey &&
            EnemySprite2->colorKey == white && PlaySheet->hasColorKey && PlaySheet->colorKey == 0);
    }
    return ScriptedKeys(Plan::kClearThenCrash, ticksBefore_, read);
  });
  ASSERT_EQ(RunWith({}), 0);
  MemorySetKeyPlayer(nullptr);
  std::vector<std::string> screens;
  for (const Seen& s : seen) screens.push_back(s.screen);
  const std::vector<std::string> attempt = {"intro-2", "", "play-2", "death-banner"};
  std::vector<std::string> expected = {"logo", "", "intro-1", "", "play-1", "clear-banner"};
  for (int life = 0; life < 3; ++life) expected.insert(expected.end(), attempt.begin(), attempt.end());
  expected.insert(expected.end(), {"high-scores", "logo", ""});
  ASSERT_EQ(screens, expected);
  for (size_t i = 0; i + 1 < seen.size(); ++i) {
    const std::string& screen = seen[i].screen;
    // The fade's 33 frames, and the next screen's own frame when it shows before it reads the keys.
    const size_t fade = screen == "high-scores" ? 0 : 33;
    if (screen.empty() || screen.rfind("play-", 0) == 0) continue;
    EXPECT_EQ(seen[i + 1].frames - seen[i].frames, fade + (seen[i + 1].screen.empty() ? 0 : 1)) << screen;
    // While an intro waits, the effect is the menu's or the banner's; the eating sound comes after the fade.
    if (screen.rfind("intro-", 0) == 0) {
      EXPECT_NE(loadedAt[i], "EAT.WAV");
      EXPECT_EQ(loadedAt[i + 1], "EAT.WAV");
    }
    if (screen.find("-banner") != std::string::npos) {
      EXPECT_EQ(loadedAt[i], screen == "clear-banner" ? "CLEAR.WAV" : "DIE.WAV");
    }
  }
  EXPECT_EQ(wrongKeys, 0);
  std::vector<std::string> plays;
  for (const MemorySoundEvent& event : MemorySoundLog()) {
    if (event.what == "play" || event.what == "loop")
      plays.push_back(event.what + " " + WaveName(event.checksum));
  }
  std::vector<std::string> expectedPlays = {"play MENU2.WAV"};
  expectedPlays.insert(expectedPlays.end(), 10, "play EAT.WAV");
  expectedPlays.insert(expectedPlays.end(), {"play CLEAR.WAV", "play DIE.WAV", "play DIE.WAV", "play DIE.WAV",
                                             "play MENU1.WAV", "play MENU3.WAV"});
  EXPECT_EQ(plays, expectedPlays);
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
    PutGameData();
    int64_t closedAt = -1;
    MemorySetKeyPlayer([&](uint64_t read) {
      if (closedAt < 0 && c.when()) {
        MemoryRequestClose();
        closedAt = MemoryClockNanoseconds();
      }
      return read % 2 == 0 ? std::vector<uint8_t>{kKeyReturn} : std::vector<uint8_t>{};
    });
    char name[] = "coilrun";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(RunCoilrun(1, argv), 0);
    ASSERT_GE(closedAt, 0);
    EXPECT_LT(MemoryClockNanoseconds() - closedAt, 1'000'000'000);
    EXPECT_EQ(MemoryLiveSurfaceCount(), 0);
    if (std::string(c.screen) == "play") {
      EXPECT_EQ(FileScore(MemoryFileBytes("SCORE.DAT"), 0), Play.Score);
    }
    MemorySetKeyPlayer(nullptr);
  }
}

// Exit's sound plays out before shut-down silences it.
TEST_F(GameTest, ExitsSoundPlaysOutBeforeShutDown) {
  const std::vector<uint8_t> samples = GameDataSamples("MENU3.WAV");
  const int64_t lengthNs = static_cast<int64_t>(samples.size()) * 1'000'000'000 / 11025;
  MemorySetKeyPlayer([](uint64_t read) {
    if (MemoryPresentedFrames().size() <= 1) {  // the logo: a press
      return read == 1 ? std::vector<uint8_t>{kKeyReturn} : std::vector<uint8_t>{};
    }
    return std::vector<uint8_t>{kKeyUp, kKeyReturn};
  });
  EXPECT_EQ(RunWith({}), 0);
  MemorySetKeyPlayer(nullptr);
  const std::vector<MemorySoundEvent>& log = MemorySoundLog();
  const auto played = std::find_if(log.begin(), log.end(), [&](const MemorySoundEvent& e) {
    return e.what == "play" && e.checksum == MemorySampleChecksum(samples);
  });
  ASSERT_NE(played, log.end());
  const auto released =
      std::find_if(played, log.end(), [](const MemorySoundEvent& e) { return e.what == "release"; });
  ASSERT_NE(released, log.end());
  EXPECT_GE(released->timeNs - played->timeNs, lengthNs);
  EXPECT_LT(released->timeNs - played->timeNs, lengthNs * 3 / 2 + 100'000'000);
}

// Every data file the way of a game reaches, when missing, ends the program with a line naming it.
TEST_F(GameTest, EachMissingDataFileGivesItsMessageAndStatusOneWithoutLeaking) {
  const std::vector<std::string> files = {
      "ENEMY01.DAT", "ENEMY02.DAT", "DATA.DAT",    "DATA2.DAT", "LOGO.DAT",    "MENU.DAT",
      "MENU1.WAV",   "MENU2.WAV",   "MENU3.WAV",   "BG00.DAT",  "STAGE00.DAT", "EAT.WAV",
      "CLEAR.WAV",   "BG01.DAT",    "STAGE01.DAT", "DIE.WAV",   "BG05.DAT"};
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    MemoryResetAll();
    PutGameData();
    MemoryRemoveFile(file);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(Plan::kClearThenCrash), 1);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("coilrun: cannot load " + file + ": no such file in "), std::string::npos)
        << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    // A game under way when the file was met is offered to the table first.
    EXPECT_EQ(FileScore(MemoryFileBytes("SCORE.DAT"), 0), Play.Score);
    EXPECT_EQ(MemoryLiveSurfaceCount(), 0);
    EXPECT_EQ(MemoryLiveSoundBuffers(), 0);
  }
}

// A recording is written as the game goes: one cut off where its game was killed replays up to about a
// second before the cut, then ends with one line and status 1, from the menu as from play. The whole
// recording replays to its own end with status 0.
TEST_F(GameTest, AReplayRunsUpToWhereItsRecordingWasCutAndEndsWithALine) {
  struct Case {
    const char* where;
    std::function<bool()> cutHere;
    std::function<std::vector<uint8_t>(bool cut, uint64_t read)> keys;
  };
  const std::vector<Case> cases = {
      {"menu", [] { return MemoryPresentedFrames().size() >= 100; },
       [](bool cut, uint64_t read) {
         // Return pressed ends the logo; the menu then idles until the cut, and Exit is chosen after it.
         if (MemoryPresentedFrames().size() <= 1) {
           return read == 1 ? std::vector<uint8_t>{kKeyReturn} : std::vector<uint8_t>{};
         }
         return cut ? std::vector<uint8_t>{kKeyUp, kKeyReturn} : std::vector<uint8_t>{};
       }},
      {"play", [] { return TicksPlayed() >= ticksBefore_ + 150; },
       [](bool cut, uint64_t read) {
         return ScriptedKeys(cut ? Plan::kQuitFromDialog : Plan::kHunt, ticksBefore_, read);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    Restart();
    bool cut = false;
    size_t cutFrames = 0;
    std::vector<uint8_t> cutBytes;
    MemorySetKeyPlayer([&](uint64_t read) {
      if (!cut && c.cutHere()) {
        cutBytes = MemoryFileBytes("run.rec");
        cut = true;
        cutFrames = MemoryPresentedFrames().size();
      }
      return c.keys(cut, read);
    });
    ASSERT_EQ(RunWith({"--record", "run.rec"}), 0);
    MemorySetKeyPlayer(nullptr);
    ASSERT_TRUE(cut);
    const int32_t recordedScore = Play.Score;
    const std::vector<uint8_t> wholeBytes = MemoryFileBytes("run.rec");

    Restart();
    MemoryPutFile("run.rec", wholeBytes);
    testing::internal::CaptureStdout();
    const int wholeStatus = RunWith({"--replay", "run.rec", "--timedemo"});
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(wholeStatus, 0);
    EXPECT_EQ(Play.Score, recordedScore);
    EXPECT_EQ(MemoryFileBytes("SCORE.DAT"), std::vector<uint8_t>(1036, 0));  // a replay saves nothing

    Restart();
    MemoryPutFile("cut.rec", cutBytes);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int cutStatus = RunWith({"--replay", "cut.rec", "--timedemo"});
    const std::string printed = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(cutStatus, 1);
    EXPECT_EQ(printed, "coilrun: the recording cut.rec ran out before its game ended\n");
    // A second is 20 menu frames, or 33 ticks of the first stage.
    EXPECT_GE(MemoryPresentedFrames().size() + 34, cutFrames);
  }
}

// A recording that cannot be written (here a write that fails in the middle of play) does not end the game:
// it plays on to its end, and the run ends with one line that says so and status 1.
TEST_F(GameTest, ARecordingThatCannotBeWrittenIsSaidAndFailsTheRun) {
  MemorySetKeyPlayer([](uint64_t read) {
    if (read == 500) MemoryFailFileOperation("append run.rec");
    return ScriptedKeys(Plan::kClearThenCrash, ticksBefore_, read);
  });
  testing::internal::CaptureStderr();
  const int status = RunWith({"--record", "run.rec"});
  const std::string printed = testing::internal::GetCapturedStderr();
  MemorySetKeyPlayer(nullptr);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(printed, "coilrun: cannot write the recording run.rec: Input/output error\n");
  EXPECT_EQ(Play.Lives, -1);
  EXPECT_EQ(FileScore(MemoryFileBytes("SCORE.DAT"), 0), Play.Score);
}

}  // namespace
}  // namespace coilrun
