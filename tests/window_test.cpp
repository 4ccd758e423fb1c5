// The main window's messages: one taken per pump, the quit message kept once taken.
#include <gtest/gtest.h>

#include "devices/window.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

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

TEST_F(MemoryDeviceTest, ARefusedWindowClassFailsStartUpOfTheDisplay) {
  MemoryRefuseWindowClass();
  EXPECT_FALSE(InitDisplay());
  EXPECT_FALSE(MemoryWindowCreated());
}

}  // namespace
}  // namespace coilrun
