// Shared test scaffolding: a fixture that starts each test on a fresh in-memory device layer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "display/display.h"
#include "memory_reset.h"
#include "platform/memory/memory_clock.h"

namespace coilrun {

// A run that would never end has been asked to close by the in-memory layer; the test fails with its line.
class MemoryDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MemoryResetAll();
    MemoryTakeRunaway();
  }
  void TearDown() override {
    const std::string runaway = MemoryTakeRunaway();
    EXPECT_EQ(runaway, "");
    MemoryResetAll();
  }
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
