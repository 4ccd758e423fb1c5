// The main window and the one-message pump.
#include "app/window.h"

#include "app/failure.h"
#include "app/window_device.h"
#include "devices/input_record.h"
#include "devices/keyboard.h"

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
  bool got = false;
  RecordedMessage recorded{};
  if (ReplayMessage(&got, &recorded)) {
    taken = Message{recorded.code, recorded.wParam, 0};
  } else {
    got = DevicePeekMessage(&taken);
    RecordMessage(got, RecordedMessage{taken.code, taken.wParam});
  }
  if (!got) return false;
  LastMessage = taken;
  MainWindowProc(taken);
  return true;
}

bool QuitMessageSeen() { return LastMessage.code == kMessageQuit; }

bool ReplayInterrupted() { return Replaying() && (ReplayFinished() || DeviceCloseRequested()); }

bool CloseRequested() {
  if (QuitMessageSeen()) return true;
  bool requested = false;
  // A replay ends where its recording did, or where the recording runs out; a real request to close still
  // ends it sooner.
  if (ReplayCloseRequest(&requested)) return requested || ReplayFinished() || DeviceCloseRequested();
  requested = DeviceCloseRequested();
  RecordCloseRequest(requested);
  return requested;
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

}  // namespace coilrun
