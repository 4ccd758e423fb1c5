// The in-memory window system: a message queue fed by tests, and a posted quit message.
#include "platform/memory/memory_window.h"

#include <deque>

#include "devices/window_device.h"

namespace coilrun {

namespace {

// Messages waiting to be taken, oldest first.
std::deque<Message> queue;
// Whether registering the window class is refused, and what the window system has done.
bool refuseClass = false;
bool windowCreated = false;
bool cursorHidden = false;
bool closeRequested = false;
// What was opened and closed, in order.
std::vector<std::string> lifetime;
// Whether the window is over the whole screen, and its size as a window (0 until given).
bool fullScreen = true;
int windowedWidth = 0;
int windowedHeight = 0;

}  // namespace

void MemoryResetWindow() {
  queue.clear();
  refuseClass = false;
  windowCreated = false;
  cursorHidden = false;
  closeRequested = false;
  lifetime.clear();
  fullScreen = true;
  windowedWidth = windowedHeight = 0;
}

void MemorySetWindowPlacement(bool full, int width, int height) {
  fullScreen = full;
  windowedWidth = width;
  windowedHeight = height;
}

const std::vector<std::string>& MemoryLifetimeLog() { return lifetime; }

void MemoryNoteLifetime(const std::string& what) { lifetime.push_back(what); }

void MemoryQueueMessage(const Message& message) {
  queue.push_back(message);
}
void MemoryRefuseWindowClass(bool refuse) {
  refuseClass = refuse;
}
bool MemoryWindowCreated() {
  return windowCreated;
}
bool MemoryCursorHidden() {
  return cursorHidden;
}
int MemoryPendingMessageCount() {
  return static_cast<int>(queue.size());
}

bool DeviceRegisterWindowClass(const char*) {
  return !refuseClass;
}
void DeviceCreateWindow(const char*, const char*) {
  windowCreated = true;
  lifetime.emplace_back("window");
}

bool DevicePeekMessage(Message* message) {
  if (queue.empty()) return false;
  *message = queue.front();
  queue.pop_front();
  return true;
}

void DevicePostQuitMessage(uint64_t exitCode) {
  queue.push_back(Message{kMessageQuit, exitCode, 0});
}
void DeviceHideCursor() {
  cursorHidden = true;
  lifetime.emplace_back("cursor hidden");
}
bool DeviceCloseRequested() {
  return closeRequested;
}
void DeviceRequestWindowed() { fullScreen = false; }
void DeviceSetWindowedSize(int width, int height) {
  windowedWidth = width;
  windowedHeight = height;
}
void DeviceGetWindowPlacement(bool* full, int* width, int* height) {
  *full = fullScreen;
  *width = windowedWidth;
  *height = windowedHeight;
}
const char* DevicePlatformError() {
  return "refused by the in-memory device";
}

void MemoryRequestClose() {
  closeRequested = true;
  queue.push_back(Message{kMessageDestroy, 0, 0});
}

}  // namespace coilrun
