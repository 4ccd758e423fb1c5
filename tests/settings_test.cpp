// The settings file: read and written back, broken lines, a folder that cannot be written, the command
// line's choices kept out of the file, and remapped keys reaching the game as its own keys.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"
#include "devices/window_device.h"
#include "devices/key_codes.h"
#include "devices/keyboard.h"
#include "devices/sound_device.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

constexpr uint8_t kKeyJ = 0x24;
constexpr uint8_t kKeyW = 0x11;
constexpr uint8_t kKeyComma = 0x33;
constexpr uint8_t kKeySpace = 0x39;
constexpr uint8_t kKeypad4 = 0x4B;

Settings Read(const std::string& text, std::vector<std::string>* complaints) {
  return ReadSettingsText("settings.ini", reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                          complaints);
}

Options OptionsOf(std::vector<std::string> args) {
  args.insert(args.begin(), "coilrun");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  return ParseOptions(static_cast<int>(argv.size()), argv.data());
}

std::string FileText() {
  const std::vector<uint8_t> bytes = MemoryFileBytes(kMemorySettingsFile);
  return std::string(bytes.begin(), bytes.end());
}

int Replaces() {
  int count = 0;
  for (const std::string& line : MemoryFileJournal()) count += line.rfind("replace ", 0) == 0 ? 1 : 0;
  return count;
}

void PutFile(const std::string& text) {
  MemoryPutFile(kMemorySettingsFile, std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(SettingsTextTest, WhatIsWrittenReadsBackAsItWasWithoutComplaint) {
  Settings changed = DefaultSettings();
  changed.fullScreen = false;
  changed.windowWidth = 1280;
  changed.windowHeight = 720;
  changed.hud = true;
  changed.volume = 30;
  changed.mute = true;
  changed.keys[kGameKeyLeft] = {kKeypad4, kKeyComma};
  changed.keys[kGameKeyOk] = {kKeySpace, kKeyReturn};
  for (const Settings& settings : {DefaultSettings(), changed}) {
    std::vector<std::string> complaints;
    EXPECT_EQ(Read(WriteSettingsText(settings), &complaints), settings);
    EXPECT_EQ(complaints, std::vector<std::string>());
  }
  // An empty file, comments, a byte-order mark, Windows line ends, any letter case in values and key names.
  std::vector<std::string> complaints;
  EXPECT_EQ(Read("", &complaints), DefaultSettings());
  const Settings edited = Read(
      "\xEF\xBB\xBF# mine\r\n[sound]\r\n  volume = 30  \r\nmute=YES\r\n[keys]\r\nleft = keypad 4, ,\r\n"
      "ok = space,return\r\n[display]\r\nfullscreen = off\nwidth = 1280\nheight = 720\nhud = true\n",
      &complaints);
  EXPECT_EQ(edited, changed);
  EXPECT_EQ(complaints, std::vector<std::string>());
}

// Each broken line is passed over with one line naming the file, the line and the entry, and the default
// the entry keeps; the lines around it are taken.
TEST(SettingsTextTest, EachBrokenLineGetsOneLineAndItsEntryKeepsItsDefault) {
  const std::string text =
      "volume = 50\n"           // 1: before any section
      "[display]\n"             // 2
      "fullscreen = maybe\n"    // 3: not yes or no
      "width = 100\n"           // 4: too small
      "just words\n"            // 5: no "entry = value"
      "colour = green\n"        // 6: no such entry
      "[sound]\n"               // 7
      "volume = 101\n"          // 8: out of range
      "mute = yes\n"            // 9: taken
      "[colours]\n"             // 10: no such section
      "red = 1\n"               // 11: passed over with its section
      "[keys]\n"                // 12
      "left = Lft\n"            // 13: no such key
      "right = J\n"             // 14: taken
      "up = J, Up\n"            // 15: J is right's already
      "down = F12\n"            // 16: the window's key
      "ok =\n"                  // 17: no key
      "pause = Space, space\n"  // 18: named twice
      "jump = 1\n"              // 19: no such entry
      "\x1b[2J = 1\n";          // 20: its escape spelled out
  std::vector<std::string> complaints;
  const Settings settings = Read(text, &complaints);
  const std::vector<std::string> expected = {
      "settings.ini line 1: \"volume\" stands before any [section]; ignored",
      "settings.ini line 3: fullscreen: \"maybe\" is not yes or no; using yes",
      "settings.ini line 4: width: \"100\" is not 0 or a whole number of pixels from 320 to 16384; using 0",
      "settings.ini line 5: cannot read \"just words\", which is no \"entry = value\"; ignored",
      "settings.ini line 6: \"colour\" is no entry of [display]; ignored",
      "settings.ini line 8: volume: \"101\" is not a whole number from 0 to 100; using 100",
      "settings.ini line 10: \"colours\" is no section of the settings; its entries are ignored",
      "settings.ini line 13: left: no key is named \"Lft\"; using Left, A",
      "settings.ini line 15: up: J is already a key of right; using Up, W",
      "settings.ini line 16: down: F12 belongs to the window; using Down, S",
      "settings.ini line 17: ok: names no key; using Return",
      "settings.ini line 18: pause: Space is named twice; using Escape",
      "settings.ini line 19: \"jump\" is no entry of [keys]; ignored",
      "settings.ini line 20: \"\\x1B[2J\" is no entry of [keys]; ignored",
  };
  EXPECT_EQ(complaints, expected);
  Settings wanted = DefaultSettings();
  wanted.mute = true;
  wanted.keys[kGameKeyRight] = {kKeyJ};
  EXPECT_EQ(settings, wanted);
}

// A key given to one game key leaves the defaults of the others; keys that no entry names are reported as
// themselves, but a game key's own code only where it is still that game key's.
TEST(SettingsTextTest, TheKeyMapGivesEachKeyItsGameKey) {
  std::vector<std::string> complaints;
  const Settings settings = Read("[keys]\nup = A\nleft = J\n", &complaints);
  EXPECT_EQ(complaints, std::vector<std::string>());
  EXPECT_EQ(settings.keys[kGameKeyUp], std::vector<uint8_t>({0x1E}));
  EXPECT_EQ(settings.keys[kGameKeyLeft], std::vector<uint8_t>({kKeyJ}));
  const std::array<uint8_t, 256> map = KeyMapOf(settings);
  EXPECT_EQ(map[0x1E], kKeyUp);
  EXPECT_EQ(map[kKeyJ], kKeyLeft);
  EXPECT_EQ(map[kKeyLeft], 0);
  EXPECT_EQ(map[kKeyW], kKeyW);
  EXPECT_EQ(map[kKeyRight], kKeyRight);
  EXPECT_EQ(map[kKeySpace], kKeySpace);
}

class SettingsTest : public MemoryDeviceTest {};

TEST_F(SettingsTest, ARemappedKeyReachesTheGameAsItsGameKeyAndWasdWorkByDefault) {
  PutFile("[keys]\nleft = J\n");
  LoadSettings(OptionsOf({}));
  ASSERT_TRUE(InitKeyboard());
  const auto heldAfter = [](uint8_t key) {
    MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads(), {key});
    ReadKeyboard();
    std::vector<uint8_t> held;
    for (size_t code = 0; code < KeyState.size(); ++code) {
      if (KeyState[code] != 0) held.push_back(static_cast<uint8_t>(code));
    }
    return held;
  };
  EXPECT_EQ(heldAfter(kKeyJ), std::vector<uint8_t>({kKeyLeft}));
  EXPECT_EQ(heldAfter(kKeyLeft), std::vector<uint8_t>());
  EXPECT_EQ(heldAfter(kKeyW), std::vector<uint8_t>({kKeyUp}));
  EXPECT_EQ(heldAfter(kKeySpace), std::vector<uint8_t>({kKeySpace}));
}

TEST_F(SettingsTest, APlayersChangesAreWrittenOnceAndReadByTheNextRun) {
  LoadSettings(OptionsOf({}));
  SaveSettings();
  EXPECT_EQ(Replaces(), 0) << "a first run that changed nothing writes nothing";
  // Alt+Enter, the window resized, the sound turned down and muted.
  MemorySetWindowPlacement(false, 800, 600);
  DeviceSetSoundLevel(40, true);
  SaveSettings();
  SaveSettings();
  EXPECT_EQ(Replaces(), 1);
  Settings wanted = DefaultSettings();
  wanted.fullScreen = false;
  wanted.windowWidth = 800;
  wanted.windowHeight = 600;
  wanted.volume = 40;
  wanted.mute = true;
  EXPECT_EQ(FileText(), WriteSettingsText(wanted));
  // The next run starts from them.
  MemoryResetWindow();
  DeviceSetSoundLevel(kFullVolume, false);
  LoadSettings(OptionsOf({}));
  bool fullScreen = true;
  int width = 0;
  int height = 0;
  DeviceGetWindowPlacement(&fullScreen, &width, &height);
  EXPECT_FALSE(fullScreen);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  int volume = 0;
  bool muted = false;
  DeviceGetSoundLevel(&volume, &muted);
  EXPECT_EQ(volume, 40);
  EXPECT_TRUE(muted);
}

TEST_F(SettingsTest, TheCommandLineHoldsForThisRunAndOnlyThePlayersOwnChangesAreKept) {
  PutFile("[sound]\nvolume = 70\n");
  LoadSettings(OptionsOf({"--windowed", "--mute", "--volume", "20", "--hud"}));
  int volume = 0;
  bool muted = false;
  DeviceGetSoundLevel(&volume, &muted);
  EXPECT_EQ(volume, 20);
  EXPECT_TRUE(muted);
  SaveSettings();
  EXPECT_EQ(Replaces(), 0);
  // The player unmutes (as the file has it) and turns the sound up: only the volume is new.
  DeviceSetSoundLevel(30, false);
  SaveSettings();
  Settings wanted = DefaultSettings();
  wanted.volume = 30;
  EXPECT_EQ(StoredSettings(), wanted);
  EXPECT_EQ(FileText(), WriteSettingsText(wanted));
}

TEST_F(SettingsTest, AFolderThatCannotBeWrittenGetsOneLineAndTheGamePlaysOn) {
  PutFile("[sound]\nvolume = 70\n");
  MemoryMakeFolderReadOnly("/config/coilrun");
  LoadSettings(OptionsOf({}));
  testing::internal::CaptureStderr();
  DeviceSetSoundLevel(60, false);
  SaveSettings();
  DeviceSetSoundLevel(50, false);
  SaveSettings();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "coilrun: cannot save the settings in /config/coilrun/settings.ini: Permission denied; this run's "
            "changes are not kept\n");
  EXPECT_EQ(FileText(), "[sound]\nvolume = 70\n");
  // An unreadable file is one line too, and the defaults.
  MemoryFailFileOperation("read-whole");
  testing::internal::CaptureStderr();
  LoadSettings(OptionsOf({}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "coilrun: cannot read the settings /config/coilrun/settings.ini: Input/output error; using the "
            "defaults\n");
  EXPECT_EQ(StoredSettings(), DefaultSettings());
}

TEST(SettingsOptionsTest, TheLastOfTwoOpposedOptionsCountsAndAVolumeOutOfRangeIsRefused) {
  Options options = OptionsOf({"--windowed", "--fullscreen", "--no-hud", "--hud", "--volume", "0"});
  EXPECT_TRUE(options.fullscreen && !options.windowed && options.hud && !options.noHud);
  EXPECT_EQ(options.volume, 0);
  EXPECT_EQ(OptionsOf({"--volume", "101"}).error, "--volume wants a whole number from 0 to 100, not \"101\"");
  EXPECT_FALSE(OptionsOf({"--volume"}).error.empty());
}

}  // namespace
}  // namespace coilrun
