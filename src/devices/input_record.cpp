// Recording and replaying the game's inputs as four run-length coded streams in one text file.
//
// The file: a first line "coilrun-replay VERSION", then one line per run, each starting with its stream's
// letter:
//   s SEED                  a game's random seed
//   k COUNT [CODE...]       COUNT keyboard reads in a row that found exactly these keys held (hex codes)
//   m COUNT [CODE WPARAM]   COUNT pumps in a row that took this message, or none when no code follows
//   c COUNT 0|1             COUNT looks in a row at whether the window was asked to close
// Each stream is consumed in its own order, which the deterministic game repeats exactly. A long run may be
// written as several lines of the same input.
#include "devices/input_record.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <deque>
#include <string_view>
#include <vector>

#include "devices/clock_device.h"
#include "devices/file_device.h"
#include "devices/key_codes.h"
#include "devices/window_device.h"

namespace coilrun {

namespace {

// The format's version, raised whenever the game comes to read its inputs in another number or order (as
// when the key waits came to look for a new press): an older recording would not replay its game.
constexpr int kRecordingVersion = 2;
constexpr const char* kHeaderWord = "coilrun-replay ";
// The largest recording read: many hours of play (an hour takes well under a megabyte), and a bound on
// what a damaged or hostile file can cost.
constexpr size_t kMaxRecordingBytes = size_t{8} << 20;
// The longest stretch of play whose inputs a recording holds back: a game killed outright leaves a
// recording that replays up to about this long before its end.
constexpr int64_t kWriteEveryNs = 1'000'000'000;
// How much of a bad line an error message shows.
constexpr size_t kShownLineLength = 60;

enum class Mode { kOff, kRecord, kReplay };

// A window message as recorded: whether one was taken, its code and wParam (the only fields read).
struct MessageTaken {
  bool taken = false;
  uint32_t code = 0;
  uint64_t wParam = 0;
  bool operator==(const MessageTaken&) const = default;
};

// One run of identical inputs of a stream: how many, and the input.
template <typename Value>
struct Run {
  uint64_t count;
  Value value;
};

// A stream: its letter, and the open run (recording) or the runs not yet used (replay).
template <typename Value>
struct Stream {
  char letter;
  std::deque<Run<Value>> runs;
};

// The mode, the four streams, and whether a replay skips waits or has run out.
Mode mode = Mode::kOff;
Stream<uint32_t> seeds{'s', {}};
Stream<KeySnapshot> snapshots{'k', {}};
Stream<MessageTaken> messages{'m', {}};
Stream<bool> closes{'c', {}};
bool fast = false;
bool finished = false;
// The recording's file, the lines of closed runs not yet handed to it, when the file was last handed
// what it waits for, and why the recording could not be written.
int recordFile = -1;
std::string closedLines;
int64_t lastWriteNs = 0;
std::string writeError;

// The text of each kind of input after its stream's letter and count, as the file holds it.
void AppendNumber(uint64_t number, std::string* text) {
  text->push_back(' ');
  text->append(std::to_string(number));
}
void AppendValue(uint32_t seed, std::string* text) {
  AppendNumber(seed, text);
}
void AppendValue(const KeySnapshot& keys, std::string* text) {
  char hex[8];
  for (size_t code = 0; code < keys.size(); ++code) {
    if (keys[code] == 0) continue;
    std::snprintf(hex, sizeof hex, " %02zx", code);
    text->append(hex);
  }
}
void AppendValue(const MessageTaken& message, std::string* text) {
  if (!message.taken) return;
  AppendNumber(message.code, text);
  AppendNumber(message.wParam, text);
}
void AppendValue(bool requested, std::string* text) {
  AppendNumber(requested ? 1 : 0, text);
}

template <typename Value>
void AppendRun(char letter, const Run<Value>& run, std::string* text) {
  text->push_back(letter);
  AppendNumber(run.count, text);
  AppendValue(run.value, text);
  text->push_back('\n');
}

void ClearStreams() {
  seeds.runs.clear();
  snapshots.runs.clear();
  messages.runs.clear();
  closes.runs.clear();
  closedLines.clear();
}

// A write failed: the game plays on unrecorded, and why is kept for the end.
void StopRecordingOnError(const std::string& why) {
  writeError = why;
  DeviceCloseRecord(recordFile);
  recordFile = -1;
  ClearStreams();
  mode = Mode::kOff;
}

template <typename Value>
void TakeOpenRun(Stream<Value>* stream, std::string* text) {
  for (const Run<Value>& run : stream->runs) AppendRun(stream->letter, run, text);
  stream->runs.clear();
}

// Hands the file the closed runs and every stream's open run, as it stands, in one write.
bool WriteOut() {
  std::string text;
  text.swap(closedLines);
  TakeOpenRun(&seeds, &text);
  TakeOpenRun(&snapshots, &text);
  TakeOpenRun(&messages, &text);
  TakeOpenRun(&closes, &text);
  std::string why;
  if (!text.empty() &&
      !DeviceAppendFile(recordFile, reinterpret_cast<const uint8_t*>(text.data()), text.size(), &why)) {
    StopRecordingOnError(why);
    return false;
  }
  lastWriteNs = DeviceClockNanoseconds();
  return true;
}

// Runs are kept as they close, and handed to the file with the open ones at least every second, so the
// file grows as the game goes.
template <typename Value>
void Note(Stream<Value>* stream, const Value& value) {
  if (mode != Mode::kRecord) return;
  if (!stream->runs.empty() && stream->runs.back().value == value) {
    ++stream->runs.back().count;
  } else {
    if (!stream->runs.empty()) AppendRun(stream->letter, stream->runs.back(), &closedLines);
    stream->runs.clear();
    stream->runs.push_back(Run<Value>{1, value});
  }
  if (DeviceClockNanoseconds() - lastWriteNs >= kWriteEveryNs) WriteOut();
}

// The next recorded input of a stream; false when the stream has run out.
template <typename Value>
bool Take(Stream<Value>* stream, Value* value) {
  if (stream->runs.empty()) {
    finished = true;
    return false;
  }
  *value = stream->runs.front().value;
  if (--stream->runs.front().count == 0) stream->runs.pop_front();
  return true;
}

// A bad line, shown safely: printable characters only (no terminal controls), and not too much of it.
std::string Shown(std::string_view line) {
  std::string shown;
  for (char c : line.substr(0, kShownLineLength)) shown += c >= ' ' && c <= '~' ? c : '?';
  if (line.size() > kShownLineLength) shown += "...";
  return shown;
}

enum class Fault { kNone, kMalformed, kOutOfRange };

// A number of the file: digits only, in `base`, at most `max`. A sign makes it out of range, as it does
// any number that is too large for its field.
Fault ReadNumber(std::string_view token, int base, uint64_t max, uint64_t* number) {
  const bool hasSign = !token.empty() && (token[0] == '-' || token[0] == '+');
  if (hasSign) token.remove_prefix(1);
  const char* end = token.data() + token.size();
  const auto [stop, error] = std::from_chars(token.data(), end, *number, base);
  if (token.empty() || stop != end || error == std::errc::invalid_argument) return Fault::kMalformed;
  if (hasSign || error == std::errc::result_out_of_range || *number > max) return Fault::kOutOfRange;
  return Fault::kNone;
}

// Whether a line of `letter`'s stream may hold this many values after its count.
bool HasValuesFor(char letter, size_t values) {
  switch (letter) {
    case 's':
    case 'c':
      return values == 1;
    case 'm':
      return values == 0 || values == 2;
    default:
      return true;
  }
}

// The values of one line after its count, as numbers each checked against what its field can hold.
Fault ReadValues(char letter, const std::vector<std::string_view>& tokens, std::vector<uint64_t>* numbers) {
  for (size_t i = 2; i < tokens.size(); ++i) {
    uint64_t number = 0;
    const bool wParam = letter == 'm' && i == 3;
    const uint64_t max = letter == 'k' ? 0xFF : letter == 'c' ? 1 : wParam ? UINT64_MAX : UINT32_MAX;
    if (const Fault fault = ReadNumber(tokens[i], letter == 'k' ? 16 : 10, max, &number); fault != Fault::kNone) {
      return fault;
    }
    numbers->push_back(number);
  }
  return Fault::kNone;
}

// Puts one parsed line's run into its stream.
void AddRun(char letter, uint64_t count, const std::vector<uint64_t>& numbers) {
  switch (letter) {
    case 's':
      seeds.runs.push_back({count, static_cast<uint32_t>(numbers[0])});
      break;
    case 'k': {
      KeySnapshot keys{};
      for (uint64_t code : numbers) keys[static_cast<size_t>(code)] = kKeyHeld;
      snapshots.runs.push_back({count, keys});
      break;
    }
    case 'm':
      messages.runs.push_back({count, numbers.empty() ? MessageTaken{}
                                                      : MessageTaken{true, static_cast<uint32_t>(numbers[0]),
                                                                     numbers[1]}});
      break;
    default:
      closes.runs.push_back({count, numbers[0] != 0});
      break;
  }
}

// Reads one line of runs into its stream.
Fault ParseLine(std::string_view line) {
  std::vector<std::string_view> tokens;
  for (size_t start = 0; start < line.size();) {
    const size_t space = std::min(line.find(' ', start), line.size());
    if (space > start) tokens.push_back(line.substr(start, space - start));
    start = space + 1;
  }
  if (tokens.size() < 2 || tokens[0].size() != 1) return Fault::kMalformed;
  const char letter = tokens[0][0];
  if (std::string_view("skmc").find(letter) == std::string_view::npos) return Fault::kMalformed;
  if (!HasValuesFor(letter, tokens.size() - 2)) return Fault::kMalformed;
  uint64_t count = 0;
  Fault fault = ReadNumber(tokens[1], 10, UINT64_MAX, &count);
  if (fault == Fault::kNone && count == 0) fault = Fault::kOutOfRange;
  std::vector<uint64_t> numbers;
  if (fault == Fault::kNone) fault = ReadValues(letter, tokens, &numbers);
  if (fault == Fault::kNone) AddRun(letter, count, numbers);
  return fault;
}

// The whole file, if it is no larger than a recording can be.
bool ReadRecordingFile(const std::string& path, std::string* text, std::string* error) {
  std::vector<uint8_t> bytes;
  std::string why;
  if (!DeviceReadWholeFile(path.c_str(), kMaxRecordingBytes, &bytes, &why)) {
    *error = "cannot read " + path + ": " + why;
    return false;
  }
  text->assign(bytes.begin(), bytes.end());
  return true;
}

// Why a first line does not begin a recording of this version, or empty when it does.
std::string HeaderError(const std::string& path, std::string_view line) {
  const std::string_view word(kHeaderWord);
  uint64_t version = 0;
  if (line.substr(0, word.size()) != word ||
      ReadNumber(line.substr(word.size()), 10, UINT32_MAX, &version) != Fault::kNone) {
    return path + " is not a recording";
  }
  if (version < kRecordingVersion) return path + " was made by an earlier version of the game";
  if (version > kRecordingVersion) return path + " was made by a later version of the game";
  return "";
}

}  // namespace

bool StartRecording(const std::string& path, std::string* why) {
  const int file = DeviceOpenNewFile(path.c_str(), why);
  if (file < 0) return false;
  // The first line goes out at once, so that a file that cannot be written is found before the game.
  const std::string header = std::string(kHeaderWord) + std::to_string(kRecordingVersion) + "\n";
  if (!DeviceAppendFile(file, reinterpret_cast<const uint8_t*>(header.data()), header.size(), why) ||
      !DeviceFlushRecord(file, why)) {
    DeviceCloseRecord(file);
    return false;
  }
  ClearStreams();
  recordFile = file;
  lastWriteNs = DeviceClockNanoseconds();
  mode = Mode::kRecord;
  return true;
}

bool StartReplay(const std::string& path, bool skipWaits, std::string* error) {
  error->clear();
  std::string text;
  if (!ReadRecordingFile(path, &text, error)) return false;
  ClearStreams();
  std::string_view rest(text);
  for (int number = 1; !rest.empty(); ++number) {
    const size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (number == 1) {
      *error = HeaderError(path, line);
    } else if (const Fault fault = line.empty() ? Fault::kNone : ParseLine(line); fault != Fault::kNone) {
      *error = path + " line " + std::to_string(number) + ": " +
               (fault == Fault::kOutOfRange ? "number out of range: " : "malformed line: ") + Shown(line);
    }
    if (!error->empty()) {
      ClearStreams();
      return false;
    }
  }
  if (text.empty()) {
    *error = path + " is not a recording";
    return false;
  }
  mode = Mode::kReplay;
  fast = skipWaits;
  finished = false;
  return true;
}

std::string FinishRecordingOrReplay() {
  if (mode == Mode::kRecord && WriteOut()) {
    // A finished recording is on the disk: a power cut afterwards cannot take it back.
    std::string why;
    if (!DeviceFlushRecord(recordFile, &why)) writeError = why;
    DeviceCloseRecord(recordFile);
    recordFile = -1;
  }
  ClearStreams();
  mode = Mode::kOff;
  fast = false;
  finished = false;
  std::string error;
  error.swap(writeError);
  return error;
}

void ResetInputRecord() {
  if (recordFile >= 0) DeviceCloseRecord(recordFile);
  recordFile = -1;
  ClearStreams();
  mode = Mode::kOff;
  fast = false;
  finished = false;
  lastWriteNs = 0;
  writeError.clear();
}

bool Recording() { return mode == Mode::kRecord; }
bool Replaying() { return mode == Mode::kReplay; }
bool FastReplay() { return mode == Mode::kReplay && fast; }
bool ReplayFinished() { return mode == Mode::kReplay && finished; }

uint32_t TakeSeed() {
  uint32_t seed = 0;
  if (mode == Mode::kReplay) {
    Take(&seeds, &seed);
    return seed;
  }
  seed = DeviceCalendarSeconds();
  Note(&seeds, seed);
  return seed;
}

void TakeKeySnapshot(KeySnapshot* keys, void (*readDevice)(KeySnapshot* keys)) {
  if (mode == Mode::kReplay) {
    Take(&snapshots, keys);
    return;
  }
  readDevice(keys);
  if (mode != Mode::kRecord) return;
  // Held is held, whatever nonzero byte the device wrote.
  KeySnapshot held{};
  for (size_t code = 0; code < held.size(); ++code) held[code] = (*keys)[code] != 0 ? kKeyHeld : 0;
  Note(&snapshots, held);
}

bool TakeMessage(Message* message) {
  MessageTaken recorded;
  if (mode == Mode::kReplay) {
    Take(&messages, &recorded);
    if (recorded.taken) *message = Message{recorded.code, recorded.wParam, 0};
    return recorded.taken;
  }
  const bool taken = DevicePeekMessage(message);
  if (taken) recorded = MessageTaken{true, message->code, message->wParam};
  Note(&messages, recorded);
  return taken;
}

bool TakeCloseRequest() {
  bool requested = false;
  // A replay ends where its recording did, or where the recording runs out; a real request to close still
  // ends it sooner.
  if (mode == Mode::kReplay) {
    if (!Take(&closes, &requested)) requested = true;
    return requested || finished || DeviceCloseRequested();
  }
  requested = DeviceCloseRequested();
  Note(&closes, requested);
  return requested;
}

}  // namespace coilrun
