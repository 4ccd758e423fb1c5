// The main window and the one-message pump.
#include "devices/window.h"

#include "devices/failure.h"
#include "devices/input_record.h"
#include "devices/keyboard.h"
#include "devices/window_device.h"

namespace coilrun {

Message LastMessage;

bool CreateMainWindow() {
  if (!DeviceRegisterWindowClass(kWindowClassName)) {
    NoteFailure("cannot open a window", DevicePlatformError());
    return false;
  }
  DeviceCreateWindow(kWindowClassName, kWindowTitle);
  return true;
}

void MainWindowProc(const Message& message) {
  if (message.code == kMessageDestroy) DevicePostQuitMessage(0);
}

bool PumpOneMessage() {
  Message taken;
  if (!TakeMessage(&taken)) return false;
  LastMessage = taken;
  MainWindowProc(taken);
  return true;
}

bool QuitMessageSeen() { return LastMessage.code == kMessageQuit; }

bool ReplayInterrupted() { return Replaying() && (ReplayFinished() || DeviceCloseRequested()); }

bool CloseRequested() {
  return QuitMessageSeen() || TakeCloseRequest();
}

}  // namespace coilrun

namespace coilrun {

bool WaitForAnyKey() {
  StartKeyPressWatch();
  for (;;) {
    if (NewKeyPressed()) return true;
    if (CloseRequested()) return false;
  }
}

void ResetWindow() {
  LastMessage = Message{};
}

}  // namespace coilrun
