// Helpers for the tests of the data tool: running it on a fresh data set in a folder of the test's own, and
// reading what it made with the game's own loaders.
#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "content/assets.h"
#include "file_bytes.h"
#include "game/score_table.h"
#include "images/images.h"
#include "platform/memory/memory_files.h"
#include "scratch_folder.h"
#include "test_support.h"

namespace coilrun {

using FileBytes = std::vector<uint8_t>;

struct ToolRun {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

// Runs build/coilrun-data in the working folder.
inline ToolRun RunDataTool(const std::string& arguments) {
  const std::string command = std::string(COILRUN_BINARY_DIR) + "/coilrun-data " + arguments + " 2>&1";
  ToolRun run;
#ifdef _WIN32
  std::FILE* pipe = _popen(command.c_str(), "r");
#else
  std::FILE* pipe = popen(command.c_str(), "r");
#endif
  if (pipe == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
#ifdef _WIN32
  run.exitCode = _pclose(pipe);
#else
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return run;
}

inline const char* AssetName(int index) {
  return AssetTable[static_cast<size_t>(index)];
}

// Each test starts in a scratch folder holding a freshly made data set, also put in the in-memory files,
// with the display up.
class MadeDataTest : public DisplayTest {
 protected:
  void SetUp() override {
    scratch_.Enter("coilrun-data");
    DisplayTest::SetUp();
    const ToolRun made = RunDataTool("make .");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    MemoryPutFolder(".");  // where the game's loaders read them
  }
  void TearDown() override {
    scratch_.Leave();
    DisplayTest::TearDown();
  }
  ScratchFolder scratch_;
};

}  // namespace coilrun
