// The Windows program's surroundings: output to a console or a message box, and the data folder chosen
// beside the program or in the player's application data.
#include "platform/win32/win32_entry.h"

#include <cstdio>
#include <cwchar>
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

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

bool SameFile(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
  return a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh &&
         CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// Copies the data files of `from` into `to` where missing or different; SCORE.DAT only where `to` has none.
bool CopyData(const std::wstring& from, const std::wstring& to, std::string* error) {
  for (const wchar_t* pattern : {L"*.DAT", L"*.WAV"}) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Joined(from, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
      const std::wstring source = Joined(from, found.cFileName);
      const std::wstring target = Joined(to, found.cFileName);
      WIN32_FILE_ATTRIBUTE_DATA sourceInfo{};
      WIN32_FILE_ATTRIBUTE_DATA targetInfo{};
      const bool present = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &targetInfo) != 0;
      if (present && _wcsicmp(found.cFileName, kScoreFile) == 0) continue;
      if (present && GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &sourceInfo) != 0 &&
          SameFile(sourceInfo, targetInfo)) {
        continue;
      }
      if (CopyFileW(source.c_str(), target.c_str(), FALSE) == 0) {
        *error = Win32Narrow(target.c_str()) + ": " + Win32ErrorText(GetLastError());
        FindClose(search);
        return false;
      }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
  }
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
    while (printed.size() < kLongestMessage && std::fgets(line, sizeof line, stderr) != nullptr) printed += line;
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
  if (program.empty() || !Exists(Joined(program, kDataMarker))) return true;
  if (CanKeepScores(program)) return MoveTo(program, error);
  wchar_t appData[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) {
    *error = "APPDATA is not set, and " + Win32Narrow(program.c_str()) + " cannot be written";
    return false;
  }
  const std::wstring folder = Joined(appData, kAppDataFolder);
  if (CreateDirectoryW(folder.c_str(), nullptr) == 0 && GetLastError() != ERROR_ALREADY_EXISTS) {
    *error = Win32Narrow(folder.c_str()) + ": " + Win32ErrorText(GetLastError());
    return false;
  }
  return CopyData(program, folder, error) && MoveTo(folder, error);
}

// The data folder is chosen before the game starts (Win32ChooseDataFolder): nothing is installed apart.
const char* DeviceInstalledDataDirectory() { return nullptr; }

}  // namespace coilrun
