// The main window and its messages: one message taken per frame, and the quit message kept once seen.
#pragma once

#include <cstdint>

#include "devices/message.h"
#include "devices/version.h"

namespace coilrun {
inline constexpr const char* kWindowClassName = "Coilrun";
inline constexpr const char* kWindowTitle = "Coilrun " COILRUN_VERSION;

// The last message taken by PumpOneMessage; all zero until the first is taken.
extern Message LastMessage;

// Registers the window class and creates and shows the one full-screen window. False, with the failure
// noted, when there is no window to be had.
bool CreateMainWindow();

// The window's handler: the window's destruction asks the program to quit.
void MainWindowProc(const Message& message);

// Takes at most one waiting message into LastMessage, without waiting, and dispatches it. True when one
// was taken.
bool PumpOneMessage();

// True once the quit message has been taken.
bool QuitMessageSeen();

// True in a replay once its recording has run out or a real request to close has come: the replay must
// end whatever the recording says. The menu, which asks for no close of its own, looks at this.
bool ReplayInterrupted();

// True once the window has been asked to close (its close button, Alt+F4, SIGINT, SIGTERM), whether or not
// the pump has taken the message yet. The waits that take no messages (key waits, fades, the pause
// dialog) look at this so that the program ends promptly from every screen.
bool CloseRequested();

// Polls the keyboard until a key goes down or the window is asked to close; true for a key. A key already
// held as the wait begins counts only once it has been let go and pressed again, so that the press that
// led to a screen never skips it.
bool WaitForAnyKey();

// Forgets the last message taken, as a fresh process has none.
void ResetWindow();

}  // namespace coilrun
