// The settings file: read at start-up, laid under the command line, handed to the devices, and written
// whole when the player changes something in the game.
#include "app/settings.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "devices/window_device.h"
#include "devices/file_device.h"
#include "devices/key_codes.h"
#include "devices/key_names.h"
#include "devices/keyboard_device.h"
#include "devices/sound_device.h"
#include "game/play_tick.h"

namespace coilrun {

namespace {

// The game's own code of each game key, and its name in the [keys] section.
constexpr std::array<uint8_t, kGameKeyCount> kGameKeyCodes = {kKeyLeft, kKeyRight,  kKeyUp,
                                                              kKeyDown, kKeyReturn, kKeyEscape};
constexpr std::array<const char*, kGameKeyCount> kGameKeyNames = {"left", "right", "up",
                                                                  "down", "ok",    "pause"};
// Bounds of a window's size that the file may give; 0 also stands for "as the desktop allows".
constexpr int kSmallestWindowWidth = 320;
constexpr int kSmallestWindowHeight = 240;
constexpr int kLargestWindowSide = 16384;
// How much of a line a complaint quotes.
constexpr size_t kQuotedLength = 40;

// The file's name, what it holds (or would hold, with what the player changed since), what the devices
// were last seen to hold, and whether a write has failed this run (its line printed, no more tries).
std::string fileName;
Settings stored;
Settings seen;
bool writeFailed = false;

// A complaint about one line, kept with the line's number so that they are told in the file's order.
using Complaints = std::vector<std::pair<int, std::string>>;

// One line of the file as the reader takes it.
struct Line {
  int number;
  std::string_view section;
  std::string_view entry;
  std::string_view value;
};

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameLetters(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The text quoted for a player, shortened, with control bytes spelled out so that nothing in a file can
// steer the terminal.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size() && i < kQuotedLength; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += static_cast<char>(byte);
    }
  }
  if (text.size() > kQuotedLength) out += "...";
  return out + "\"";
}

std::string YesNo(bool value) {
  return value ? "yes" : "no";
}

std::string KeyList(const std::vector<uint8_t>& keys) {
  std::string out;
  for (uint8_t key : keys) {
    if (!out.empty()) out += ", ";
    out += KeyName(key);
  }
  return out;
}

std::optional<bool> ParseYesNo(std::string_view text) {
  for (const char* yes : {"yes", "true", "on", "1"}) {
    if (SameLetters(text, yes)) return true;
  }
  for (const char* no : {"no", "false", "off", "0"}) {
    if (SameLetters(text, no)) return false;
  }
  return std::nullopt;
}

std::optional<int> ParseWhole(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

// A window side: 0, or a size from `smallest` to the largest.
std::optional<int> ParseSide(std::string_view text, int smallest) {
  const std::optional<int> side = ParseWhole(text, 0, kLargestWindowSide);
  if (side && *side != 0 && *side < smallest) return std::nullopt;
  return side;
}

// The key names of a [keys] value, separated by commas. A name is a comma by itself where one stands
// where a name begins ("left = ,, A" names the comma key and A).
std::vector<std::string_view> SplitKeyNames(std::string_view value) {
  std::vector<std::string_view> names;
  size_t at = 0;
  while (at < value.size()) {
    while (at < value.size() && (value[at] == ' ' || value[at] == '\t')) ++at;
    if (at == value.size()) break;
    size_t end = value[at] == ',' ? at + 1 : value.find(',', at);
    if (end == std::string_view::npos) end = value.size();
    names.push_back(Trimmed(value.substr(at, end - at)));
    at = end;
    while (at < value.size() && (value[at] == ' ' || value[at] == '\t')) ++at;
    if (at < value.size() && value[at] == ',') ++at;
  }
  return names;
}

bool IsWindowKey(uint8_t code) {
  return std::find(kWindowKeys.begin(), kWindowKeys.end(), code) != kWindowKeys.end();
}

// Reads the lines of the file into entries, complaining of those that are no entry of a known section.
std::vector<Line> SplitLines(std::string_view text, const std::string& prefix, Complaints* complaints) {
  constexpr std::array<std::string_view, 3> kSections = {"display", "sound", "keys"};
  std::vector<Line> lines;
  std::string_view section;
  bool sectionKnown = true;
  int number = 0;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view raw = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++number;
    const std::string_view line = Trimmed(raw);
    const std::string where = prefix + " line " + std::to_string(number) + ": ";
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = Trimmed(line.substr(1, line.size() - 2));
      sectionKnown = std::find(kSections.begin(), kSections.end(), section) != kSections.end();
      if (!sectionKnown) {
        complaints->emplace_back(
            number, where + Quoted(section) + " is no section of the settings; its entries are ignored");
      }
      continue;
    }
    const size_t equals = line.find('=');
    const std::string_view entry =
        equals == std::string_view::npos ? std::string_view() : Trimmed(line.substr(0, equals));
    if (entry.empty()) {
      complaints->emplace_back(
          number, where + "cannot read " + Quoted(line) + ", which is no \"entry = value\"; ignored");
      continue;
    }
    if (!sectionKnown) continue;
    if (section.empty()) {
      complaints->emplace_back(number, where + Quoted(entry) + " stands before any [section]; ignored");
      continue;
    }
    lines.push_back(Line{number, section, entry, Trimmed(line.substr(equals + 1))});
  }
  return lines;
}

// Takes one entry of [display] or [sound]; false when the section has no such entry.
bool TakeSettingEntry(const Line& line, const std::string& where, Settings* settings,
                      Complaints* complaints) {
  const Settings defaults = DefaultSettings();
  const auto complain = [&](const char* wanted, const std::string& fallback) {
    complaints->emplace_back(line.number, where + std::string(line.entry) + ": " + Quoted(line.value) +
                                              " is not " + wanted + "; using " + fallback);
  };
  const auto yesNo = [&](bool* into, bool fallback) {
    const std::optional<bool> value = ParseYesNo(line.value);
    *into = value.value_or(fallback);
    if (!value) complain("yes or no", YesNo(fallback));
  };
  const auto side = [&](int* into, int smallest) {
    const std::optional<int> value = ParseSide(line.value, smallest);
    *into = value.value_or(0);
    if (!value) {
      const std::string wanted = "0 or a whole number of pixels from " + std::to_string(smallest) + " to " +
                                 std::to_string(kLargestWindowSide);
      complain(wanted.c_str(), "0");
    }
  };
  if (line.section == "display" && line.entry == "fullscreen") {
    yesNo(&settings->fullScreen, defaults.fullScreen);
  } else if (line.section == "display" && line.entry == "width") {
    side(&settings->windowWidth, kSmallestWindowWidth);
  } else if (line.section == "display" && line.entry == "height") {
    side(&settings->windowHeight, kSmallestWindowHeight);
  } else if (line.section == "display" && line.entry == "hud") {
    yesNo(&settings->hud, defaults.hud);
  } else if (line.section == "sound" && line.entry == "volume") {
    const std::optional<int> value = ParseWhole(line.value, 0, kFullVolume);
    settings->volume = value.value_or(defaults.volume);
    if (!value) complain("a whole number from 0 to 100", std::to_string(defaults.volume));
  } else if (line.section == "sound" && line.entry == "mute") {
    yesNo(&settings->mute, defaults.mute);
  } else {
    return false;
  }
  return true;
}

// The keys of one [keys] entry, or why they cannot be taken. `taken` holds the game key of each keyboard
// key named so far, or kGameKeyCount.
std::optional<std::vector<uint8_t>> ParseKeys(std::string_view value, const std::array<int, 256>& taken,
                                              std::string* why) {
  std::vector<uint8_t> keys;
  for (std::string_view name : SplitKeyNames(value)) {
    const uint8_t code = KeyCodeByName(name);
    if (code == 0) {
      *why = "no key is named " + Quoted(name);
    } else if (IsWindowKey(code)) {
      *why = std::string(KeyName(code)) + " belongs to the window";
    } else if (std::find(keys.begin(), keys.end(), code) != keys.end()) {
      *why = std::string(KeyName(code)) + " is named twice";
    } else if (taken[code] != kGameKeyCount) {
      *why = std::string(KeyName(code)) + " is already a key of " +
             kGameKeyNames[static_cast<size_t>(taken[code])];
    } else {
      keys.push_back(code);
      continue;
    }
    return std::nullopt;
  }
  if (keys.empty()) {
    *why = "names no key";
    return std::nullopt;
  }
  return keys;
}

// Takes the [keys] entries in the order of their lines; an entry that cannot be taken keeps its default,
// less the keys that entries taken before gave to other game keys.
void TakeKeyEntries(const std::vector<Line>& lines, const std::string& prefix, Settings* settings,
                    Complaints* complaints) {
  std::array<int, 256> taken;
  taken.fill(kGameKeyCount);
  std::array<bool, kGameKeyCount> given{};
  for (const Line& line : lines) {
    if (line.section != "keys") continue;
    const std::string where = prefix + " line " + std::to_string(line.number) + ": ";
    const auto named = std::find(kGameKeyNames.begin(), kGameKeyNames.end(), line.entry);
    if (named == kGameKeyNames.end()) {
      complaints->emplace_back(line.number, where + Quoted(line.entry) + " is no entry of [keys]; ignored");
      continue;
    }
    const auto key = static_cast<size_t>(named - kGameKeyNames.begin());
    // An entry given again takes the place of the earlier one.
    if (given[key]) {
      for (uint8_t code : settings->keys[key]) taken[code] = kGameKeyCount;
      given[key] = false;
    }
    std::string why;
    const std::optional<std::vector<uint8_t>> keys = ParseKeys(line.value, taken, &why);
    if (!keys) {
      complaints->emplace_back(line.number, where + kGameKeyNames[key] + ": " + why + "; using " +
                                                KeyList(DefaultSettings().keys[key]));
      continue;
    }
    settings->keys[key] = *keys;
    given[key] = true;
    for (uint8_t code : *keys) taken[code] = static_cast<int>(key);
  }
  const Settings defaults = DefaultSettings();
  for (size_t key = 0; key < kGameKeyCount; ++key) {
    if (given[key]) continue;
    settings->keys[key].clear();
    for (uint8_t code : defaults.keys[key]) {
      if (taken[code] == kGameKeyCount) settings->keys[key].push_back(code);
    }
  }
}

// The level and the window as the command line asks for this run.
Settings WithOptions(Settings settings, const Options& options) {
  if (options.windowed) settings.fullScreen = false;
  if (options.fullscreen) settings.fullScreen = true;
  if (options.hud) settings.hud = true;
  if (options.noHud) settings.hud = false;
  if (options.volume >= 0) settings.volume = options.volume;
  if (options.mute) settings.mute = true;
  return settings;
}

void HandToDevices(const Settings& settings) {
  if (!settings.fullScreen) DeviceRequestWindowed();
  if (settings.windowWidth > 0 && settings.windowHeight > 0) {
    DeviceSetWindowedSize(settings.windowWidth, settings.windowHeight);
  }
  DeviceSetSoundLevel(settings.volume, settings.mute);
  DeviceMapKeys(KeyMapOf(settings).data());
  ShowHud(settings.hud);
}

}  // namespace

Settings DefaultSettings() {
  Settings settings;
  settings.keys = {
      {{kKeyLeft, 0x1E}, {kKeyRight, 0x20}, {kKeyUp, 0x11}, {kKeyDown, 0x1F}, {kKeyReturn}, {kKeyEscape}}};
  return settings;
}

Settings ReadSettingsText(const std::string& name, const uint8_t* bytes, size_t size,
                          std::vector<std::string>* complaints) {
  std::string_view text(reinterpret_cast<const char*>(bytes), size);
  // A byte-order mark, as some editors write one, is no part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Complaints found;
  const std::vector<Line> lines = SplitLines(text, name, &found);
  Settings settings = DefaultSettings();
  for (const Line& line : lines) {
    if (line.section == "keys") continue;
    const std::string where = name + " line " + std::to_string(line.number) + ": ";
    if (!TakeSettingEntry(line, where, &settings, &found)) {
      found.emplace_back(line.number, where + Quoted(line.entry) + " is no entry of [" +
                                          std::string(line.section) + "]; ignored");
    }
  }
  TakeKeyEntries(lines, name, &settings, &found);
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [number, complaint] : found) complaints->push_back(std::move(complaint));
  return settings;
}

std::string WriteSettingsText(const Settings& settings) {
  std::string text =
      "# Coilrun's settings, read when the game starts and written again when they change in the game.\n"
      "# Each line is \"entry = value\"; a line that begins with # is a comment.\n"
      "\n[display]\n"
      "# yes: over the whole screen; no: in a window (Alt+Enter and F11 switch in the game)\n"
      "fullscreen = " +
      YesNo(settings.fullScreen) +
      "\n"
      "# the window's size in pixels; 0 lets the game choose from the screen's size\n"
      "width = " +
      std::to_string(settings.windowWidth) +
      "\n"
      "height = " +
      std::to_string(settings.windowHeight) +
      "\n"
      "# yes: show the lives and the creatures left beside the stage label\n"
      "hud = " +
      YesNo(settings.hud) +
      "\n"
      "\n[sound]\n"
      "# 0 (silent) to 100 (full); F9 and F10 turn it down and up by 10 in the game\n"
      "volume = " +
      std::to_string(settings.volume) +
      "\n"
      "# yes: no sound at all (F8 switches in the game)\n"
      "mute = " +
      YesNo(settings.mute) +
      "\n"
      "\n[keys]\n"
      "# the keyboard keys of each of the game's keys, separated by commas, named as SDL names them\n"
      "# (\"Left\", \"A\", \"Keypad 4\", \"Space\"); ok confirms, pause opens the pause dialog\n";
  // A game key left with no key (its defaults all given to others) has no line: read back, it has none.
  for (size_t key = 0; key < kGameKeyCount; ++key) {
    if (!settings.keys[key].empty()) {
      text += std::string(kGameKeyNames[key]) + " = " + KeyList(settings.keys[key]) + "\n";
    }
  }
  return text;
}

std::array<uint8_t, 256> KeyMapOf(const Settings& settings) {
  std::array<uint8_t, 256> map;
  for (size_t code = 0; code < map.size(); ++code) map[code] = static_cast<uint8_t>(code);
  for (uint8_t code : kGameKeyCodes) map[code] = 0;
  for (size_t key = 0; key < kGameKeyCount; ++key) {
    for (uint8_t code : settings.keys[key]) map[code] = kGameKeyCodes[key];
  }
  return map;
}

void LoadSettings(const Options& options) {
  fileName = DeviceSettingsFileName();
  stored = DefaultSettings();
  writeFailed = false;
  if (!fileName.empty()) {
    std::vector<uint8_t> bytes;
    std::string why;
    bool missing = false;
    if (DeviceReadWholeFile(fileName.c_str(), kLargestSettingsFile, &bytes, &why, &missing)) {
      std::vector<std::string> complaints;
      stored = ReadSettingsText(fileName, bytes.data(), bytes.size(), &complaints);
      for (const std::string& complaint : complaints)
        std::fprintf(stderr, "coilrun: %s\n", complaint.c_str());
    } else if (!missing) {
      std::fprintf(stderr, "coilrun: cannot read the settings %s: %s; using the defaults\n", fileName.c_str(),
                   why.c_str());
    }
  }
  seen = WithOptions(stored, options);
  HandToDevices(seen);
}

void SaveSettings() {
  Settings now;
  DeviceGetWindowPlacement(&now.fullScreen, &now.windowWidth, &now.windowHeight);
  DeviceGetSoundLevel(&now.volume, &now.mute);
  // Only what changed since the last look is the player's doing; the rest of the run's settings may come
  // from the command line, which is for this run only.
  Settings wanted = stored;
  if (now.fullScreen != seen.fullScreen) wanted.fullScreen = now.fullScreen;
  if (now.windowWidth > 0 && (now.windowWidth != seen.windowWidth || now.windowHeight != seen.windowHeight)) {
    wanted.windowWidth = now.windowWidth;
    wanted.windowHeight = now.windowHeight;
  }
  if (now.volume != seen.volume) wanted.volume = now.volume;
  if (now.mute != seen.mute) wanted.mute = now.mute;
  seen.fullScreen = now.fullScreen;
  seen.windowWidth = now.windowWidth;
  seen.windowHeight = now.windowHeight;
  seen.volume = now.volume;
  seen.mute = now.mute;
  if (wanted == stored || fileName.empty() || writeFailed) return;
  const std::string text = WriteSettingsText(wanted);
  std::string why;
  if (DeviceReplaceFile(fileName.c_str(), std::vector<uint8_t>(text.begin(), text.end()), &why)) {
    stored = wanted;
    return;
  }
  writeFailed = true;
  std::fprintf(stderr, "coilrun: cannot save the settings in %s: %s; this run's changes are not kept\n",
               fileName.c_str(), why.c_str());
}

const Settings& StoredSettings() {
  return stored;
}

void ResetSettings() {
  fileName.clear();
  stored = DefaultSettings();
  seen = DefaultSettings();
  writeFailed = false;
}

}  // namespace coilrun
