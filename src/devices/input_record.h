// Exact replays: every input the game reads (the seed, each keyboard snapshot, each window message taken,
// each look at a pending close) written to a file, run-length coded, or read back from one in place of the
// devices. The game logic is deterministic over these inputs, so a replay repeats a game exactly.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace coilrun {

// A window message as recorded: its code and wParam (the only fields the game reads).
struct RecordedMessage {
  uint32_t code;
  uint64_t wParam;
};

// Starts writing every input to `path`, the file growing as the game goes; false, with errno set, when the
// file cannot be made or written.
bool StartRecording(const std::string& path);
// Starts reading the inputs from `path` instead of the devices; `fast` also skips every wait. False, with
// `error` set, when the file cannot be read as a recording: a line that is not one of a recording, a number
// out of its field's range (both named by line number), or a file larger than hours of play make.
bool StartReplay(const std::string& path, bool fast, std::string* error);
// Writes what is left of a recording and closes it; ends a replay. Why the recording could not be written
// (it stopped there, and the game played on), or empty.
std::string FinishRecordingOrReplay();
bool Recording();
bool Replaying();
// A replay that skips the game's waits.
bool FastReplay();
// True once a replay has used up one of its streams: the game then ends as if its window had closed.
bool ReplayFinished();

// The hooks, called where the game reads each input. In a replay they give the recorded input and return
// true; otherwise they note the input when recording and return false.
bool ReplayKeyboard(std::array<uint8_t, 256>* keys);
void RecordKeyboard(const std::array<uint8_t, 256>& keys);
bool ReplayMessage(bool* taken, RecordedMessage* message);
void RecordMessage(bool taken, const RecordedMessage& message);
bool ReplayCloseRequest(bool* requested);
void RecordCloseRequest(bool requested);
bool ReplaySeed(uint32_t* seed);
void RecordSeed(uint32_t seed);

}  // namespace coilrun
