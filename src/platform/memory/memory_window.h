// Test controls of the in-memory window system: queued messages, a refused window class.
#pragma once

#include <string>
#include <vector>

#include "devices/message.h"

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

// The player switches the window to full screen or to a window of the given size, or resizes it.
void MemorySetWindowPlacement(bool fullScreen, int width, int height);

// What the program opened and closed of the system since the reset, in order: "cursor hidden", "window",
// "display", "sound" and "keyboard" as each is had, "-display", "-sound" and "-keyboard" as each is given
// back.
const std::vector<std::string>& MemoryLifetimeLog();

// The in-memory devices note what they open and close here.
void MemoryNoteLifetime(const std::string& what);

}  // namespace coilrun
