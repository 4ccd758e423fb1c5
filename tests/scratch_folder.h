// A scratch folder of the test's own, made the working directory for the test and removed after it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace coilrun {

class ScratchFolder {
 public:
  void Enter(const char* prefix) {
    old_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string(prefix) + "-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void Leave() {
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  const std::filesystem::path& Path() const { return dir_; }

 private:
  std::filesystem::path old_;
  std::filesystem::path dir_;
};

}  // namespace coilrun
