// The Windows program's entry point: wide arguments as UTF-8, the output and the data folder readied.
#include <cstdio>
#include <string>
#include <vector>

#include "app/entry.h"
#include "platform/win32/win32_entry.h"
#include "platform/win32/win32_platform.h"

int wmain(int argc, wchar_t** argv) {
  using namespace coilrun;
  Win32AttachOutput();
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(Win32Narrow(argv[i]));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  int status = 1;
  std::string error;
  if (Win32ChooseDataFolder(&error)) {
    status = RunCoilrun(argc, pointers.data());
  } else {
    std::fprintf(stderr, "coilrun: cannot set up the data folder: %s\n", error.c_str());
  }
  std::fflush(stdout);
  Win32ShowFailure(status);
  return status;
}
