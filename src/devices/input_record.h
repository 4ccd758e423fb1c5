// The one seam of the inputs a replay must repeat: the seed, each keyboard snapshot, each window message
// taken and each look at a pending close. In a replay each comes from the recording; otherwise it comes
// from its device and, while recording, is written to the recording file (four run-length coded streams).
// The game logic is deterministic over these inputs, so a replay repeats a game exactly.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "devices/message.h"

namespace coilrun {

// All 256 keys, indexed by scan code, as the keyboard module keeps them.
using KeySnapshot = std::array<uint8_t, 256>;

// Starts writing every input to the file `path` through the file device, the file growing as the game
// goes. False, with the reason in `why`, when the file cannot be made or written.
bool StartRecording(const std::string& path, std::string* why);

// Starts reading the inputs from the file `path` instead of the devices; `fast` also skips every wait.
// False, with `error` set, when the file cannot be read as a recording: a line that is not one of a
// recording, a number out of its field's range (both named by line number), or a file larger than hours
// of play make.
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

// The game's random seed: the calendar time, or the recorded seed (0 once the seeds have run out).
uint32_t TakeSeed();

// A keyboard snapshot into `keys`, read by `readDevice` or the recorded one; a replay whose snapshots have
// run out leaves `keys` as they were.
void TakeKeySnapshot(KeySnapshot* keys, void (*readDevice)(KeySnapshot* keys));

// At most one waiting window message, without waiting: true, with it in `message`, when one was taken.
bool TakeMessage(Message* message);

// Whether the window has been asked to close. In a replay also true once the recording has run out, or
// when a real request to close has come.
bool TakeCloseRequest();

// Ends any recording or replay at once, unwritten, as a fresh process has none.
void ResetInputRecord();

}  // namespace coilrun
