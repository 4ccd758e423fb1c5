// Recording and replaying the game's inputs as four run-length coded streams in one text file.
//
// The file: a first line "coilrun-replay 1", then one line per run, each starting with its stream's letter:
//   s SEED                  a game's random seed
//   k COUNT [CODE...]       COUNT keyboard reads in a row that found exactly these keys held (hex codes)
//   m COUNT [CODE WPARAM]   COUNT pumps in a row that took this message, or none when no code follows
//   c COUNT 0|1             COUNT looks in a row at whether the window was asked to close
// Each stream is consumed in its own order, which the deterministic game repeats exactly.
#include "devices/input_record.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>
#include <vector>

namespace coilrun {

namespace {

constexpr const char* kHeader = "coilrun-replay 1";

enum class Mode { kOff, kRecord, kReplay };

// One run of identical inputs of a stream: how many, and the input as text after the stream letter.
struct Run {
  uint64_t count;
  std::string value;
};

// A stream: its letter, the runs not yet written (recording) or not yet used (replay).
struct Stream {
  char letter;
  std::deque<Run> runs;
};

// The mode, the streams, the recording's file, and whether a replay skips waits or has run out.
Mode mode = Mode::kOff;
std::array<Stream, 4> streams = {{{'s', {}}, {'k', {}}, {'m', {}}, {'c', {}}}};
std::ofstream recordFile;
bool fast = false;
bool finished = false;
// Runs are written in the order they close, so that the file grows as the game goes.
constexpr size_t kSeed = 0;
constexpr size_t kKeys = 1;
constexpr size_t kMessages = 2;
constexpr size_t kClose = 3;

void WriteRun(char letter, const Run& run) { recordFile << letter << ' ' << run.count << run.value << '\n'; }

void Note(size_t stream, const std::string& value) {
  if (mode != Mode::kRecord) return;
  Stream& s = streams[stream];
  if (!s.runs.empty() && s.runs.back().value == value) {
    ++s.runs.back().count;
    return;
  }
  if (!s.runs.empty()) {
    WriteRun(s.letter, s.runs.back());
    s.runs.clear();
  }
  s.runs.push_back(Run{1, value});
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

// Whether a run's value is well formed for its stream, so that a damaged file cannot mislead a replay.
bool ValidValue(char letter, const std::string& value) {
  std::istringstream in(value);
  std::vector<uint64_t> numbers;
  uint64_t number = 0;
  while (in >> (letter == 'k' ? std::hex : std::dec) >> number) numbers.push_back(number);
  if (!in.eof()) return false;
  switch (letter) {
    case 's':
      return numbers.size() == 1 && numbers[0] <= UINT32_MAX;
    case 'k':
      for (uint64_t code : numbers) {
        if (code > 0xFF) return false;
      }
      return true;
    case 'm':
      return numbers.empty() || (numbers.size() == 2 && numbers[0] <= UINT32_MAX);
    case 'c':
      return numbers.size() == 1 && numbers[0] <= 1;
    default:
      return false;
  }
}

bool ParseLine(const std::string& line, std::string* error) {
  std::istringstream in(line);
  char letter = 0;
  uint64_t count = 0;
  if (!(in >> letter >> count) || count == 0) {
    *error = "malformed line: " + line;
    return false;
  }
  std::string rest;
  std::getline(in, rest);
  for (Stream& s : streams) {
    if (s.letter == letter && ValidValue(letter, rest)) {
      s.runs.push_back(Run{count, rest});
      return true;
    }
  }
  *error = "malformed line: " + line;
  return false;
}

}  // namespace

bool StartRecording(const std::string& path) {
  recordFile.open(path, std::ios::trunc);
  if (!recordFile) return false;
  recordFile << kHeader << '\n';
  mode = Mode::kRecord;
  return true;
}

bool StartReplay(const std::string& path, bool skipWaits, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = "cannot open " + path;
    return false;
  }
  std::string line;
  if (!std::getline(in, line) || line != kHeader) {
    *error = path + " is not a recording";
    return false;
  }
  for (Stream& s : streams) s.runs.clear();
  while (std::getline(in, line)) {
    if (!line.empty() && !ParseLine(line, error)) return false;
  }
  mode = Mode::kReplay;
  fast = skipWaits;
  finished = false;
  return true;
}

void FinishRecordingOrReplay() {
  if (mode == Mode::kRecord) {
    for (Stream& s : streams) {
      for (const Run& run : s.runs) WriteRun(s.letter, run);
    }
    recordFile.close();
  }
  for (Stream& s : streams) s.runs.clear();
  mode = Mode::kOff;
  fast = false;
  finished = false;
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
