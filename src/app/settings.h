// The player's settings: full screen or window, the window's size, the HUD, the sound's volume and mute,
// and the keyboard keys of the game's six keys, kept in a file of "entry = value" lines between runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/options.h"
#include "devices/sound_device.h"

namespace coilrun {

// The game's keys, in the order of the file's [keys] section.
enum GameKey {
  kGameKeyLeft,
  kGameKeyRight,
  kGameKeyUp,
  kGameKeyDown,
  kGameKeyOk,
  kGameKeyPause,
  kGameKeyCount
};

// A settings file larger than this is no settings file; it is left alone and the defaults are used.
inline constexpr size_t kLargestSettingsFile = 64 * 1024;

struct Settings {
  bool fullScreen = true;
  int windowWidth = 0;  // the window's size when not over the whole screen; 0: as the desktop allows
  int windowHeight = 0;
  bool hud = false;
  int volume = kFullVolume;
  bool mute = false;
  // The keyboard keys of each game key, by code in the game's key numbering.
  std::array<std::vector<uint8_t>, kGameKeyCount> keys;
  bool operator==(const Settings&) const = default;
};

// The settings of a first run: full screen, no HUD, full volume, the arrows and W/A/S/D, Return and Esc.
Settings DefaultSettings();

// Reads a settings file's bytes. Every line that cannot be taken (not "entry = value", an unknown section,
// entry or value, a key that has no name or belongs to the window or to another entry) is passed over,
// with one line in `complaints` naming `fileName`, the line's number and its entry, and the default kept.
Settings ReadSettingsText(const std::string& fileName, const uint8_t* bytes, size_t size,
                          std::vector<std::string>* complaints);

// The whole file for `settings`, with a comment above each entry; ReadSettingsText reads it back as it is.
std::string WriteSettingsText(const Settings& settings);

// The keyboard devices' key map for the settings' keys: each key of a game key reported as that game
// key, the other keys as themselves, except keys whose own code is a game key's and which are not that
// game key's, which are not reported.
std::array<uint8_t, 256> KeyMapOf(const Settings& settings);

// At start-up: reads the settings file (a missing file or folder gives the defaults; a broken line or an
// unreadable file gives one line on stderr, and the game goes on), lays the command line's choices over
// them for this run only, and hands the result to the window, the sound, the keyboard and the HUD.
void LoadSettings(const Options& options);

// Takes from the devices what the player changed in the game since the last look (full screen or window
// and the window's size, the volume and mute), and writes the file whole, a new file renamed over the old,
// when what it holds would change. A file that cannot be written gets one line on stderr, once; the game
// plays on, its settings unremembered.
void SaveSettings();

// Forgets the file and what it held, as a fresh process has them.
void ResetSettings();

// What LoadSettings read from the file, with what SaveSettings stored since (for the tests).
const Settings& StoredSettings();

}  // namespace coilrun
