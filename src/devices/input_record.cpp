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

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <sstream>
#include <string_view>
#include <vector>

#include "devices/clock_device.h"

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

// One run of identical inputs of a stream: how many, and the input as text after the stream letter.
struct Run {
  uint64_t count;
  std::string value;
};

// A stream: its letter, and the open run (recording) or the runs not yet used (replay).
struct Stream {
  char letter;
  std::deque<Run> runs;
};

// The mode, the streams, and whether a replay skips waits or has run out.
Mode mode = Mode::kOff;
std::array<Stream, 4> streams = {{{'s', {}}, {'k', {}}, {'m', {}}, {'c', {}}}};
bool fast = false;
bool finished = false;
// The recording's file, when its open runs were last handed to it, and why it could not be written.
std::FILE* recordFile = nullptr;
int64_t lastWriteNs = 0;
std::string writeError;
// Where each stream sits in `streams`.
constexpr size_t kSeed = 0;
constexpr size_t kKeys = 1;
constexpr size_t kMessages = 2;
constexpr size_t kClose = 3;

bool WriteRun(char letter, const Run& run) {
  return std::fprintf(recordFile, "%c %llu%s\n", letter, static_cast<unsigned long long>(run.count),
                      run.value.c_str()) >= 0;
}

// A write failed: notes why, and the game plays on unrecorded.
void StopRecordingOnError() {
  writeError = std::strerror(errno);
  std::fclose(recordFile);
  recordFile = nullptr;
  for (Stream& s : streams) s.runs.clear();
  mode = Mode::kOff;
}

// Writes every stream's open run, as it stands, and hands the file all it holds.
void WriteOut() {
  for (Stream& s : streams) {
    for (const Run& run : s.runs) {
      if (!WriteRun(s.letter, run)) return StopRecordingOnError();
    }
    s.runs.clear();
  }
  if (std::fflush(recordFile) != 0) return StopRecordingOnError();
  lastWriteNs = DeviceClockNanoseconds();
}

// Runs are written as they close, and the open ones at least every second, so the file grows as the
// game goes.
void Note(size_t stream, const std::string& value) {
  if (mode != Mode::kRecord) return;
  Stream& s = streams[stream];
  if (!s.runs.empty() && s.runs.back().value == value) {
    ++s.runs.back().count;
  } else {
    if (!s.runs.empty() && !WriteRun(s.letter, s.runs.back())) return StopRecordingOnError();
    s.runs.clear();
    s.runs.push_back(Run{1, value});
  }
  if (DeviceClockNanoseconds() - lastWriteNs >= kWriteEveryNs) WriteOut();
}

// The next recorded input of a stream; false when the stream has run out.
bool Take(size_t stream, std::string* value) {
  Stream& s = streams[stream];
  if (s.runs.empty()) {
    finished = true;
    return false;
  }
  *value = s.runs.front().value;
  if (--s.runs.front().count == 0) s.runs.pop_front();
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

// Reads one line of runs into its stream, checking every number against what its field can hold.
Fault ParseLine(std::string_view line) {
  std::vector<std::string_view> tokens;
  for (size_t start = 0; start < line.size();) {
    const size_t space = std::min(line.find(' ', start), line.size());
    if (space > start) tokens.push_back(line.substr(start, space - start));
    start = space + 1;
  }
  if (tokens.size() < 2 || tokens[0].size() != 1) return Fault::kMalformed;
  const char letter = tokens[0][0];
  Stream* stream = nullptr;
  for (Stream& s : streams) {
    if (s.letter == letter) stream = &s;
  }
  if (stream == nullptr || !HasValuesFor(letter, tokens.size() - 2)) return Fault::kMalformed;
  uint64_t count = 0;
  Fault fault = ReadNumber(tokens[1], 10, UINT64_MAX, &count);
  if (fault == Fault::kNone && count == 0) fault = Fault::kOutOfRange;
  std::string value;
  for (size_t i = 2; i < tokens.size() && fault == Fault::kNone; ++i) {
    uint64_t number = 0;
    const bool wParam = letter == 'm' && i == 3;
    const uint64_t max = letter == 'k' ? 0xFF : letter == 'c' ? 1 : wParam ? UINT64_MAX : UINT32_MAX;
    fault = ReadNumber(tokens[i], letter == 'k' ? 16 : 10, max, &number);
    // Kept as the recorder writes it, so that "01" and "1" are the same input.
    char written[24];
    if (letter == 'k') {
      std::snprintf(written, sizeof written, " %02llx", static_cast<unsigned long long>(number));
    } else {
      std::snprintf(written, sizeof written, " %llu", static_cast<unsigned long long>(number));
    }
    value += written;
  }
  if (fault == Fault::kNone) stream->runs.push_back(Run{count, value});
  return fault;
}

// The whole file, if it is no larger than a recording can be.
bool ReadRecordingFile(const std::string& path, std::string* text, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  char buffer[65536];
  size_t got = 0;
  while (text->size() <= kMaxRecordingBytes && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text->append(buffer, got);
  }
  const bool failed = std::ferror(file) != 0;
  const std::string reason = std::strerror(errno);
  std::fclose(file);
  if (failed) {
    *error = "cannot read " + path + ": " + reason;
  } else if (text->size() > kMaxRecordingBytes) {
    *error =
        path + " is larger than a recording can be (" + std::to_string(kMaxRecordingBytes >> 20) + " MB)";
  }
  return error->empty();
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

bool StartRecording(const std::string& path) {
  recordFile = std::fopen(path.c_str(), "w");
  if (recordFile == nullptr) return false;
  // The first line goes out at once, so that a file that cannot be written is found before the game.
  if (std::fprintf(recordFile, "%s%d\n", kHeaderWord, kRecordingVersion) < 0 ||
      std::fflush(recordFile) != 0) {
    const int reason = errno;
    std::fclose(recordFile);
    recordFile = nullptr;
    errno = reason;
    return false;
  }
  for (Stream& s : streams) s.runs.clear();
  lastWriteNs = DeviceClockNanoseconds();
  mode = Mode::kRecord;
  return true;
}

bool StartReplay(const std::string& path, bool skipWaits, std::string* error) {
  error->clear();
  std::string text;
  if (!ReadRecordingFile(path, &text, error)) return false;
  for (Stream& s : streams) s.runs.clear();
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
      for (Stream& s : streams) s.runs.clear();
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
  if (mode == Mode::kRecord) {
    WriteOut();
    if (recordFile != nullptr && std::fclose(recordFile) != 0) writeError = std::strerror(errno);
    recordFile = nullptr;
  }
  for (Stream& s : streams) s.runs.clear();
  mode = Mode::kOff;
  fast = false;
  finished = false;
  std::string error;
  error.swap(writeError);
  return error;
}

bool Recording() { return mode == Mode::kRecord; }
bool Replaying() { return mode == Mode::kReplay; }
bool FastReplay() { return mode == Mode::kReplay && fast; }
bool ReplayFinished() { return mode == Mode::kReplay && finished; }

bool ReplayKeyboard(std::array<uint8_t, 256>* keys) {
  if (mode != Mode::kReplay) return false;
  std::string value;
  if (Take(kKeys, &value)) {
    keys->fill(0);
    std::istringstream in(value);
    unsigned code = 0;
    while (in >> std::hex >> code) (*keys)[code & 0xFF] = 0x80;
  }
  return true;
}

void RecordKeyboard(const std::array<uint8_t, 256>& keys) {
  if (mode != Mode::kRecord) return;
  std::string value;
  char hex[8];
  for (int code = 0; code < 256; ++code) {
    if (keys[static_cast<size_t>(code)] != 0) {
      std::snprintf(hex, sizeof hex, " %02x", code);
      value += hex;
    }
  }
  Note(kKeys, value);
}

bool ReplayMessage(bool* taken, RecordedMessage* message) {
  if (mode != Mode::kReplay) return false;
  std::string value;
  *taken = false;
  if (Take(kMessages, &value)) {
    std::istringstream in(value);
    *taken = static_cast<bool>(in >> message->code >> message->wParam);
  }
  return true;
}

void RecordMessage(bool taken, const RecordedMessage& message) {
  std::ostringstream value;
  if (taken) value << ' ' << message.code << ' ' << message.wParam;
  Note(kMessages, value.str());
}

bool ReplayCloseRequest(bool* requested) {
  if (mode != Mode::kReplay) return false;
  std::string value;
  *requested = !Take(kClose, &value) || value == " 1";
  return true;
}

void RecordCloseRequest(bool requested) { Note(kClose, requested ? " 1" : " 0"); }

bool ReplaySeed(uint32_t* seed) {
  if (mode != Mode::kReplay) return false;
  std::string value;
  if (Take(kSeed, &value)) *seed = static_cast<uint32_t>(std::stoul(value));
  return true;
}

void RecordSeed(uint32_t seed) {
  std::ostringstream value;
  value << ' ' << seed;
  Note(kSeed, value.str());
}

}  // namespace coilrun
