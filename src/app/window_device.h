// What the window logic needs of a platform's window system.
#pragma once

#include "app/window.h"

namespace coilrun {

bool DeviceRegisterWindowClass(const char* className);
// Registers the program's window class; false when the platform refuses.
void DeviceCreateWindow(const char* className, const char* title);
// Creates the borderless full-screen window and shows it; its failure is not reported here.
bool DevicePeekMessage(Message* message);
// Takes one waiting message without waiting; false, with `message` untouched, when none waits.
void DevicePostQuitMessage(uint64_t exitCode);
// Queues the quit message with the given wParam.
void DeviceHideCursor();
// Hides the mouse pointer over the window.
bool DeviceCloseRequested();
// True once a request to close the window has arrived, taken from the queue or not.
const char* DevicePlatformError();
// The platform's own words for its last failure, for the line printed when start-up fails.
void DeviceRequestWindowed();
// The window is to be made as a resizable window rather than over the whole desktop.

}  // namespace coilrun
