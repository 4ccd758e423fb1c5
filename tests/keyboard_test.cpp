// The keyboard: snapshots, lost input, release.
#include "devices/keyboard.h"

#include <gtest/gtest.h>


#include "platform/memory/memory_keyboard.h"
#include "test_support.h"

namespace coilrun {
namespace {

TEST_F(MemoryDeviceTest, LostInputReacquiresAndOnlyTheReadAfterBringsTheCurrentKeys) {
  ASSERT_TRUE(InitKeyboard());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyLeft});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyReturn});
  ReadKeyboard();
  MemoryLoseKeyboardInput();
  ReadKeyboard();  // Reports lost input: the old snapshot stays.
  EXPECT_TRUE(KeyHeld(kKeyLeft));
  EXPECT_FALSE(KeyHeld(kKeyReturn));
  ReadKeyboard();
  EXPECT_FALSE(KeyHeld(kKeyLeft));
  EXPECT_EQ(KeyState[kKeyReturn], kKeyHeld);
  // A re-acquisition that fails leaves the last snapshot for good, never cleared.
  MemoryRefuseKeyboardStep(MemoryKeyboardStep::kAcquire);
  MemoryLoseKeyboardInput();
  for (int i = 0; i < 3; ++i) ReadKeyboard();
  EXPECT_TRUE(KeyHeld(kKeyReturn));
}

TEST_F(MemoryDeviceTest, EveryRefusedStepFailsInitAndReleaseFreesOnlyWhatExists) {
  for (MemoryKeyboardStep step : {MemoryKeyboardStep::kInputObject, MemoryKeyboardStep::kKeyboardDevice,
                                  MemoryKeyboardStep::kDataFormat, MemoryKeyboardStep::kCooperativeLevel,
                                  MemoryKeyboardStep::kAcquire}) {
    MemoryResetAll();
    MemoryRefuseKeyboardStep(step);
    EXPECT_FALSE(InitKeyboard()) << static_cast<int>(step);
    ReleaseKeyboard();
    ReleaseKeyboard();
    EXPECT_FALSE(MemoryInputObjectMade()) << static_cast<int>(step);
    EXPECT_FALSE(MemoryKeyboardDeviceMade()) << static_cast<int>(step);
    EXPECT_EQ(MemoryKeyboardMisuses(), 0) << static_cast<int>(step);
  }
}

}  // namespace
}  // namespace coilrun
