// What the window logic asks of a platform's window system: one window, its messages, a request to close.
// The SDL layer, the in-memory layer and the browser's layer each implement every operation.
#pragma once

#include <cstdint>

#include "devices/message.h"

namespace coilrun {

bool DeviceRegisterWindowClass(const char* className);
// Readies the window system (SDL starts its video). False when refused.
void DeviceCreateWindow(const char* className, const char* title);
// Creates the window and shows it: over the whole desktop, or a resizable window where asked for
// (DeviceRequestWindowed). A failure shows at the display's set-up, not here.
bool DevicePeekMessage(Message* message);
// Takes one waiting message without waiting; false, with `message` untouched, when none waits. The close
// button, Alt+F4, SIGINT and SIGTERM come as kMessageDestroy, a lost input focus as kMessageKillFocus if
// the window is still without the focus when the message is taken, anything else as code 0. SDL first shows a
// frame handed over by the last flip and not yet shown.
void DevicePostQuitMessage(uint64_t exitCode);
// Queues the quit message with the given wParam; after the window's destruction it is the only message.
void DeviceHideCursor();
// Hides the mouse pointer over the window, now or once it exists.
bool DeviceCloseRequested();
// True once a request to close the window has arrived, taken from the queue or not. SDL gathers the
// window system's events to answer, at most once a millisecond.
const char* DevicePlatformError();
// The platform's own words for its last failure, for the line printed when start-up fails.
void DeviceRequestWindowed();
// The window is to be made as a resizable window rather than over the whole desktop.

}  // namespace coilrun
