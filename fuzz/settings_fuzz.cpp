// Fuzz target: the settings reader on any bytes; what it reads is written and read back unchanged.
#include <string>
#include <vector>

#include "app/settings.h"
#include "fuzz_target.h"

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace coilrun;
  std::vector<std::string> complaints;
  const Settings settings = ReadSettingsText("settings.ini", data, size, &complaints);
  const std::string text = WriteSettingsText(settings);
  std::vector<std::string> again;
  const Settings reread =
      ReadSettingsText("settings.ini", reinterpret_cast<const uint8_t*>(text.data()), text.size(), &again);
  if (!(reread == settings) || !again.empty()) __builtin_trap();
  return 0;
}
