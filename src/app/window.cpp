// The main window and the one-message pump.
#include "app/window.h"

#include "app/window_device.h"
#include "devices/keyboard.h"

namespace coilrun {

Message LastMessage;

bool CreateMainWindow() {
  if (!DeviceRegisterWindowClass(kWindowClassName)) return false;
  DeviceCreateWindow(kWindowClassName, kWindowTitle);
  return true;
}

void MainWindowProc(const Message& message) {
  if (message.code == kMessageDestroy) DevicePostQuitMessage(0);
}

void PumpOneMessage() {
  Message taken;
  if (!DevicePeekMessage(&taken)) return;
  LastMessage = taken;
  MainWindowProc(taken);
}

bool QuitMessageSeen() { return LastMessage.code == kMessageQuit; }

bool CloseRequested() { return QuitMessageSeen() || DeviceCloseRequested(); }

}  // namespace coilrun

namespace coilrun {

bool WaitForAnyKey() {
  for (;;) {
    if (AnyKeyDown()) return true;
    if (CloseRequested()) return false;
  }
}

}  // namespace coilrun
