// What the window logic asks of a platform's window system: one window, its messages, a request to close.
// Every device layer implements every operation.
#pragma once

#include <cstdint>

#include "devices/message.h"

namespace coilrun {

// Readies the window system. False when refused.
bool DeviceRegisterWindowClass(const char* className);

// Creates the window and shows it: over the whole desktop, or a resizable window where asked for
// (DeviceRequestWindowed). A failure shows at the display's set-up, not here.
void DeviceCreateWindow(const char* className, const char* title);

// Takes one waiting message without waiting; false, with `message` untouched, when none waits. A request to
// close the window comes as kMessageDestroy, a lost input focus as kMessageKillFocus (only while the window
// is still without the focus when the message is taken), anything else as code 0. May first show a frame
// handed over by the last flip.
bool DevicePeekMessage(Message* message);

// Queues the quit message with the given wParam; after the window's destruction it is the only message.
void DevicePostQuitMessage(uint64_t exitCode);

// Hides the mouse pointer over the window, now or once it exists.
void DeviceHideCursor();

// True once a request to close the window has arrived, taken from the queue or not.
bool DeviceCloseRequested();

// The platform's own words for its last failure, for the line printed when start-up fails.
const char* DevicePlatformError();

// The window is to be made as a resizable window rather than over the whole desktop.
void DeviceRequestWindowed();

// The size the window takes whenever it is not over the whole desktop, from its making on, until the
// player resizes it. Without it, or with 0, the layer chooses from the desktop's size.
void DeviceSetWindowedSize(int width, int height);

// Whether the window is over the whole desktop now, and its size as a window: its size now when it is one,
// else the size it had when it last was one or was given; 0 for none yet.
void DeviceGetWindowPlacement(bool* fullScreen, int* width, int* height);

}  // namespace coilrun
