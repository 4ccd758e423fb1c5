// Shared test scaffolding: a fixture that starts each test on a fresh in-memory device layer.
#pragma once

#include <gtest/gtest.h>

#include "display/display.h"
#include "memory_reset.h"

namespace coilrun {

class MemoryDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { MemoryResetAll(); }
  void TearDown() override { MemoryResetAll(); }
};

// A fixture whose display is up: 640x480 in 5-6-5 over the in-memory device.
class DisplayTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    ASSERT_TRUE(InitDisplay());
  }
};

}  // namespace coilrun
