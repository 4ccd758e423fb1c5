// Test controls of the in-memory window system: queued messages, a refused window class.
#pragma once

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

}  // namespace coilrun
