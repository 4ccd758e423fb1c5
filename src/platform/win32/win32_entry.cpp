// The Windows program's surroundings: output to a console or a message box, and the data folder chosen
// beside the program or in the player's application data.
#include "platform/win32/win32_entry.h"

#include <cstdio>
#include <vector>

#include "devices/data_dir_device.h"
#include "platform/win32/win32_platform.h"

namespace coilrun {

namespace {

// The file that stands in for stderr when no console was there; empty when there was one.
std::wstring stderrFile;

// The file whose presence says that a folder holds the game's data, and the score file.
constexpr wchar_t kDataMarker[] = L"LOGO.DAT";
constexpr wchar_t kScoreFile[] = L"SCORE.DAT";
constexpr wchar_t kAppDataFolder[] = L"Coilrun";
constexpr size_t kLongestMessage = 4000;

bool HandleUsable(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

std::wstring Joined(const std::wstring& folder, const wchar_t* name) {
  return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) break;
    path.resize(path.size() * 2);
  }
  std::wstring folder(path.data());
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

// Whether the game can keep its scores in `folder`: its SCORE.DAT opens for writing or, without one, a
// new file can be made there.
bool CanKeepScores(const std::wstring& folder) {
  const std::wstring score = Joined(folder, kScoreFile);
  const bool present = Exists(score);
  const std::wstring probe = present ? score : Joined(folder, L"coilrun-write-test.tmp");
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            present ? OPEN_EXISTING : CREATE_NEW,
                            present ? FILE_ATTRIBUTE_NORMAL : FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool MoveTo(const std::wstring& folder, std::string* error) {
  if (SetCurrentDirectoryW(folder.c_str()) != 0) return true;
  *error = Win32Narrow(folder.c_str()) + ": " + Win32ErrorText(GetLastError());
  return false;
}

}  // namespace

void Win32AttachOutput() {
  if (HandleUsable(STD_ERROR_HANDLE)) return;
  if (AttachConsole(ATTACH_PARENT_PROCESS) != 0) {
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    return;
  }
  wchar_t folder[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"cor", 0, name) == 0) return;
  if (_wfreopen(name, L"w+", stderr) != nullptr) stderrFile = name;
}

void Win32ShowFailure(int status) {
  if (stderrFile.empty()) return;
  std::fflush(stderr);
  std::string printed;
  if (status != 0 && std::fseek(stderr, 0, SEEK_SET) == 0) {
    char line[512];
    while (printed.size() < kLongestMessage && std::fgets(line, sizeof line, stderr) != nullptr)
      printed += line;
  }
  std::fclose(stderr);
  DeleteFileW(stderrFile.c_str());
  if (status == 0) return;
  if (printed.empty()) printed = "coilrun: the game ended with status " + std::to_string(status) + "\n";
  MessageBoxW(nullptr, Win32Wide(printed.c_str()).c_str(), L"Coilrun", MB_OK | MB_ICONERROR);
}

bool Win32ChooseDataFolder(std::string* error) {
  if (Exists(kDataMarker)) return true;
  const std::wstring program = ProgramFolder();
  if (program.empty() || !Exists(Joined(program, kDataMarker)) || !CanKeepScores(program)) return true;
  return MoveTo(program, error);
}

// The program's own folder, where the zip put the data: the game plays from it when its SCORE.DAT cannot be
// written there, keeping the player's files in the player's folder.
const char* DeviceInstalledDataDirectory() {
  static std::string installed;
  const std::wstring program = ProgramFolder();
  if (program.empty() || !Exists(Joined(program, kDataMarker))) return nullptr;
  installed = Win32Narrow(program.c_str());
  return installed.c_str();
}

bool DevicePlayerDataDirectory(std::string* folder, std::string* why) {
  wchar_t appData[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) {
    *why = "APPDATA is not set";
    return false;
  }
  *folder = Win32Narrow(Joined(appData, kAppDataFolder).c_str());
  return true;
}

}  // namespace coilrun
