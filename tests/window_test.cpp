// The main window's messages: one taken per pump, the quit message kept once taken; the wait for a key.
#include <gtest/gtest.h>

#include "devices/keyboard.h"
#include "devices/window.h"
#include "platform/common/window_end.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

TEST(WindowSizeTest, AWindowKeepsItsSizeOnlyWhereItFitsBesideThePanels) {
  const WindowSize desktop{1920, 1080};
  const WindowSize area{1920, 1040};
  const WindowSize kept = WindowedSizeOn(WindowSize{800, 600}, area, desktop);
  EXPECT_EQ(kept.width, 800);
  EXPECT_EQ(kept.height, 600);
  // A size kept from a larger screen, and none at all: the largest whole multiple that leaves a tenth free.
  for (const WindowSize asked : {WindowSize{1920, 1080}, WindowSize{2560, 600}, WindowSize{0, 0}}) {
    const WindowSize made = WindowedSizeOn(asked, area, desktop);
    EXPECT_EQ(made.width, 1280) << asked.width;
    EXPECT_EQ(made.height, 960) << asked.width;
  }
  EXPECT_EQ(WindowedSizeOn(WindowSize{0, 0}, WindowSize{1024, 768}, WindowSize{1024, 768}).width, 640);
}

TEST_F(MemoryDeviceTest, PumpTakesOneMessagePerCallAndKeepsTheQuitMessage) {
  MemoryQueueMessage(Message{100, 7, 0});
  MemoryQueueMessage(Message{kMessageDestroy, 0, 0});
  MemoryQueueMessage(Message{101, 9, 0});
  PumpOneMessage();
  EXPECT_EQ(LastMessage.code, 100u);
  PumpOneMessage();  // The window's destruction posts the quit message behind what waits.
  EXPECT_EQ(LastMessage.code, kMessageDestroy);
  PumpOneMessage();
  EXPECT_EQ(LastMessage.wParam, 9u);
  for (int i = 0; i < 4; ++i) PumpOneMessage();
  EXPECT_TRUE(QuitMessageSeen());
  EXPECT_EQ(LastMessage.wParam, 0u);
}

// A key wait ends on a key that goes down after it began: one held as it begins counts only once let go and
// pressed again, while another key going down (even one the game otherwise ignores) ends it at once; a
// request to close ends it whatever is held.
TEST_F(MemoryDeviceTest, AKeyWaitEndsOnlyOnANewPressOrAClose) {
  ASSERT_TRUE(InitKeyboard());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 3, {});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 5, {kKeyReturn});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 8, {kKeyReturn, 0x2A});  // and Left Shift
  EXPECT_TRUE(WaitForAnyKey());
  EXPECT_EQ(MemoryKeyboardReads(), 6u);
  EXPECT_TRUE(WaitForAnyKey());
  EXPECT_EQ(MemoryKeyboardReads(), 9u);
  MemoryRequestClose();
  EXPECT_FALSE(WaitForAnyKey());
}

TEST_F(MemoryDeviceTest, ARefusedWindowClassFailsStartUpOfTheDisplay) {
  MemoryRefuseWindowClass();
  EXPECT_FALSE(InitDisplay());
  EXPECT_FALSE(MemoryWindowCreated());
}

}  // namespace
}  // namespace coilrun
