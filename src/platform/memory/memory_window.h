// Test controls of the in-memory window system: queued messages, a refused window class.
#pragma once

#include <string>
#include <vector>

#include "app/message.h"

namespace coilrun {

void MemoryResetWindow();
// Queues a message as the window system would.
void MemoryQueueMessage(const Message& message);
void MemoryRefuseWindowClass(bool refuse = true);
bool MemoryWindowCreated();
bool MemoryCursorHidden();
int MemoryPendingMessageCount();
// Asks the window to close, as its close button would: the destroy message is queued.
void MemoryRequestClose();
// What the program opened and closed of the system since the reset, in order: "cursor hidden", "window",
// "display", "sound" and "keyboard" as each is had, "-display", "-sound" and "-keyboard" as each is given
// back. The in-memory devices note theirs with MemoryNoteLifetime.
const std::vector<std::string>& MemoryLifetimeLog();
void MemoryNoteLifetime(const std::string& what);

}  // namespace coilrun
