// Choosing the data folder: the working directory, or the player's folder over the installed data.
#include "app/data_dir.h"

#include <array>
#include <cstdint>
#include <filesystem>

#include "content/assets.h"
#include "devices/data_dir_device.h"
#include "game/score_table.h"
#include "devices/data_file.h"
#include "devices/file_device.h"

namespace coilrun {

namespace {

// The file whose presence says that a folder holds the game's data: the first screen's picture.
constexpr const char* kDataMarker = "LOGO.DAT";

// Joined as text: the names are UTF-8, which a path made from a narrow string on Windows would read in the
// system's code page instead.
std::string InFolder(const std::string& folder, const char* name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Whether a link in the player's folder is one the game made there: to the installed file of its own name.
bool IsLinkTheGameMade(const std::string& installed, const std::string& link, const char* name) {
  std::string target;
  if (!DeviceReadLink(link.c_str(), &target)) return false;
  return std::filesystem::path(target).lexically_normal() ==
         (std::filesystem::path(installed) / name).lexically_normal();
}

// Removes the links to the installed data that earlier versions made in the player's folder: they let a
// file copied over one of them write into the installed data.
bool RemoveLinksTheGameMade(const std::string& installed, const std::string& folder, std::string* error) {
  for (const char* name : AssetTable) {
    const std::string link = InFolder(folder, name);
    std::string why;
    if (IsLinkTheGameMade(installed, link, name) && !DeviceRemoveLink(link.c_str(), &why)) {
      *error = link + ": " + why;
      return false;
    }
  }
  return true;
}

// Sets the player's folder up over the installed data and moves there.
bool UsePlayerFolder(const std::string& installed, std::string* error) {
  std::string folder;
  std::string why;
  if (!DevicePlayerDataDirectory(&folder, error)) return false;
  if (!DeviceMakeFolder(folder.c_str(), &why)) {
    *error = folder + ": " + why;
    return false;
  }
  if (!RemoveLinksTheGameMade(installed, folder, error)) return false;
  // An empty score table, as the game expects to find one: the game itself only ever rewrites it.
  const std::string scores = InFolder(folder, kScoreFileName);
  const std::array<uint8_t, kScoreFileSize> zeros{};
  if (!DeviceCreateFile(scores.c_str(), zeros.data(), zeros.size(), &why)) {
    *error = scores + ": " + why;
    return false;
  }
  if (!DeviceChangeFolder(folder.c_str(), &why)) {
    *error = folder + ": " + why;
    return false;
  }
  SetDataFallbackFolder(installed);
  return true;
}

}  // namespace

bool ChooseDataDirectory(std::string* error) {
  SetDataFallbackFolder("");
  if (DeviceNameTaken(kDataMarker)) return true;
  const char* installed = DeviceInstalledDataDirectory();
  if (installed == nullptr || installed[0] == '\0' ||
      !DeviceNameTaken(InFolder(installed, kDataMarker).c_str())) {
    return true;
  }
  return UsePlayerFolder(installed, error);
}

}  // namespace coilrun
