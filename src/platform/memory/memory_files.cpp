// The in-memory files: what each file holds on the disk and in the cache, folders, links and a working
// folder, locks held by other programs, a journal, failed steps and cut power.
#include "platform/memory/memory_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <system_error>

#include "devices/file_device.h"
#include "platform/common/posix_regular_file.h"
#include "platform/memory/memory_clock.h"

namespace coilrun {

namespace {

// One file: what is on the disk, what reads see now, and the writes made since the last flush.
struct Write {
  size_t offset;
  std::vector<uint8_t> bytes;
};
struct File {
  bool regular = true;
  std::vector<uint8_t> disk;
  std::vector<uint8_t> cached;
  std::vector<Write> unflushed;
  // The target of a symbolic link; empty for anything else.
  std::string link;
  // A real file that reads of this one read, through the real layer's bounded reader; empty for none.
  std::string onDisk;
};
// A lock that another program holds on a file, until a moment of the virtual clock (-1: for ever).
struct ForeignLock {
  bool exclusive = false;
  int64_t untilNs = -1;
};
// An open record: the name it was opened by, the name of the file it reached, and whether it holds the
// lock.
struct Opened {
  std::string name;
  std::string stored;
  bool open = false;
  bool locked = false;
};

// The files by name, the folders made, the working folder (empty: names are kept as given), the locks of
// other programs, open records by handle, the journal, the step to fail, the step after which the power
// goes and the sectors that still reach the disk, and whether the power is gone.
std::map<std::string, File> files;
std::set<std::string> folders;
std::string workingFolder;
std::map<std::string, ForeignLock> foreignLocks;
std::vector<Opened> opened;
std::vector<std::string> journal;
int failStep = 0;
std::string failOperation;
int cutStep = 0;
uint32_t keptOnCut = 0;
bool powerGone = false;
// The folders where nothing may be written.
std::vector<std::string> readOnlyFolders;

constexpr const char* kIoError = "Input/output error";

// Puts the sectors of an unflushed write that made it to the disk before the power went.
void KeepSectors(const Write& write, std::vector<uint8_t>* disk) {
  const size_t end = write.offset + write.bytes.size();
  for (size_t sector = write.offset / kMemorySectorSize; sector * kMemorySectorSize < end; ++sector) {
    if (sector >= 32 || (keptOnCut & (1u << sector)) == 0) continue;
    const size_t from = std::max(write.offset, sector * kMemorySectorSize);
    const size_t to = std::min(end, (sector + 1) * kMemorySectorSize);
    if (disk->size() < to) disk->resize(to, 0);
    std::copy(write.bytes.begin() + static_cast<std::ptrdiff_t>(from - write.offset),
              write.bytes.begin() + static_cast<std::ptrdiff_t>(to - write.offset),
              disk->begin() + static_cast<std::ptrdiff_t>(from));
  }
}

void CutPower() {
  for (auto& [name, file] : files) {
    for (const Write& write : file.unflushed) KeepSectors(write, &file.disk);
    file.unflushed.clear();
    file.cached = file.disk;
  }
  powerGone = true;
}

// Journals an operation and says whether it may run; false, with the reason, for a failed step or no power.
bool Step(const std::string& what, std::string* why) {
  journal.push_back(what);
  const int step = static_cast<int>(journal.size());
  const bool named = !failOperation.empty() && what.rfind(failOperation, 0) == 0;
  if (named) failOperation.clear();
  if (powerGone || step == failStep || named) {
    *why = kIoError;
    return false;
  }
  return true;
}

// Adds the bytes read or written to the last line of the journal.
void NoteSize(size_t size) {
  const std::string count = std::to_string(size);
  journal.back().push_back(' ');
  journal.back().append(count);
}

// Runs the cut when the operation just journaled was the one to cut after.
void AfterStep() {
  if (!powerGone && static_cast<int>(journal.size()) == cutStep) CutPower();
}

// The name as stored: a relative name is taken from the working folder.
std::string Resolve(const std::string& name) {
  if (workingFolder.empty() || name.empty() || name[0] == '/') return name;
  return workingFolder + "/" + name;
}

// The file a name leads to, its links followed (a relative target taken from the link's folder); none
// when nothing is there or a link leads nowhere.
File* Follow(const std::string& name) {
  std::string at = Resolve(name);
  for (int hops = 0; hops < 8; ++hops) {
    const auto found = files.find(at);
    if (found == files.end()) return nullptr;
    if (found->second.link.empty()) return &found->second;
    const std::string& target = found->second.link;
    const size_t slash = at.rfind('/');
    at = target[0] == '/' || slash == std::string::npos ? target : at.substr(0, slash + 1) + target;
    at = std::filesystem::path(at).lexically_normal().string();
  }
  return nullptr;
}

// The name of the file a name leads to, for the records, which keep it.
std::string FollowedName(const std::string& name) {
  const File* file = Follow(name);
  for (const auto& [stored, candidate] : files) {
    if (&candidate == file) return stored;
  }
  return Resolve(name);
}

bool IsFolder(const std::string& name) {
  return name.empty() || name == "/" || folders.count(name) != 0;
}

Opened* OpenedAt(int handle) {
  if (handle < 0 || static_cast<size_t>(handle) >= opened.size() ||
      !opened[static_cast<size_t>(handle)].open) {
    return nullptr;
  }
  return &opened[static_cast<size_t>(handle)];
}

}  // namespace

void MemoryResetFiles() {
  files.clear();
  folders.clear();
  workingFolder.clear();
  foreignLocks.clear();
  opened.clear();
  journal.clear();
  failStep = 0;
  failOperation.clear();
  cutStep = 0;
  keptOnCut = 0;
  powerGone = false;
  readOnlyFolders.clear();
}

void MemoryMakeFolderReadOnly(const std::string& folder) { readOnlyFolders.push_back(folder); }

void MemoryPutFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  files[name] = File{true, bytes, bytes, {}, {}, {}};
}

void MemoryPutSpecialFile(const std::string& name) {
  files[name] = File{false, {}, {}, {}, {}, {}};
}

void MemoryPutLink(const std::string& name, const std::string& target) {
  files[name] = File{false, {}, {}, {}, target, {}};
}

std::string MemoryLinkTarget(const std::string& name) {
  const auto found = files.find(name);
  return found == files.end() ? std::string() : found->second.link;
}

void MemoryMakeFolder(const std::string& name) {
  for (size_t end = name.find('/', 1); end != std::string::npos; end = name.find('/', end + 1)) {
    folders.insert(name.substr(0, end));
  }
  folders.insert(name);
}

bool MemoryFolderExists(const std::string& name) {
  return IsFolder(name);
}

const std::string& MemoryWorkingFolder() {
  return workingFolder;
}

void MemoryHoldLockElsewhere(const std::string& name, bool exclusive, int64_t untilNs) {
  foreignLocks[name] = ForeignLock{exclusive, untilNs};
}
void MemoryPutDiskFile(const std::string& name, const std::filesystem::path& path) {
  files[name] = File{false, {}, {}, {}, {}, path.string()};
}

void MemoryRemoveFile(const std::string& name) {
  files.erase(name);
}
bool MemoryFileExists(const std::string& name) {
  return files.count(name) != 0;
}

std::vector<uint8_t> MemoryFileBytes(const std::string& name) {
  const auto found = files.find(name);
  return found == files.end() ? std::vector<uint8_t>() : found->second.cached;
}

bool MemoryPutFileFromDisk(const std::string& name, const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return false;
  if (!std::filesystem::is_regular_file(status)) {
    MemoryPutSpecialFile(name);
    return true;
  }
  std::ifstream in(path, std::ios::binary);
  MemoryPutFile(name,
                std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  return true;
}

bool MemoryWriteFileToDisk(const std::string& name, const std::filesystem::path& path) {
  const auto found = files.find(name);
  if (found == files.end() || !found->second.regular) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(found->second.cached.data()),
            static_cast<std::streamsize>(found->second.cached.size()));
  return static_cast<bool>(out.flush());
}

void MemoryPutFolder(const std::filesystem::path& folder, const std::string& prefix) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    MemoryPutFileFromDisk(prefix + entry.path().filename().string(), entry.path());
  }
}

const std::vector<std::string>& MemoryFileJournal() {
  return journal;
}
void MemoryFailFileStep(int step) {
  failStep = step;
}
void MemoryFailFileOperation(const std::string& start) {
  failOperation = start;
}

void MemoryCutPowerAfter(int step, uint32_t keptSectors) {
  cutStep = step;
  keptOnCut = keptSectors;
}

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why,
                         bool* missing) {
  if (missing != nullptr) *missing = false;
  if (!Step(std::string("read-whole ") + name, why)) return false;
  AfterStep();
  const File* file = Follow(name);
  if (file == nullptr) {
    if (missing != nullptr) *missing = true;
    *why = "no such file in the in-memory folder";
  } else if (!file->onDisk.empty()) {
    bool onDiskMissing = false;
    return ReadBoundedFile(file->onDisk.c_str(), maxSize, bytes, missing != nullptr ? missing : &onDiskMissing, why);
  } else if (!file->regular) {
    *why = "not a regular file";
  } else if (file->cached.size() > maxSize) {
    *why = "larger than the " + std::to_string(maxSize) + " bytes such a file may hold";
  } else {
    *bytes = file->cached;
    return true;
  }
  return false;
}

bool DeviceNameTaken(const char* name) {
  std::string ignored;
  if (!Step(std::string("look ") + name, &ignored)) return false;
  AfterStep();
  return Follow(name) != nullptr || IsFolder(Resolve(name));
}

int DeviceOpenRecord(const char* name, bool* missing, std::string* why) {
  *missing = false;
  if (!Step(std::string("open ") + name, why)) return -1;
  AfterStep();
  const File* file = Follow(name);
  if (file == nullptr) {
    *missing = true;
    *why = "No such file or directory";
    return -1;
  }
  if (!file->regular || !file->onDisk.empty()) {
    *why = "not a regular file";
    return -1;
  }
  opened.push_back(Opened{name, FollowedName(name), true, false});
  return static_cast<int>(opened.size() - 1);
}

bool DeviceTryLockRecord(int handle, bool exclusive, bool* busy, std::string* why) {
  *busy = false;
  Opened* record = OpenedAt(handle);
  if (!Step("lock " + (record != nullptr ? record->name : std::string("?")) +
                (exclusive ? " exclusive" : " shared"),
            why)) {
    return false;
  }
  AfterStep();
  if (record == nullptr) {
    *why = "Bad file descriptor";
    return false;
  }
  // The logic never holds the lock twice: a lock held through another of its handles is its own mistake.
  for (const Opened& other : opened) {
    if (&other != record && other.open && other.locked && other.stored == record->stored) {
      *why = "Resource deadlock avoided";
      return false;
    }
  }
  const auto foreign = foreignLocks.find(record->stored);
  if (foreign != foreignLocks.end() && (exclusive || foreign->second.exclusive) &&
      (foreign->second.untilNs < 0 || MemoryClockNanoseconds() < foreign->second.untilNs)) {
    *busy = true;
    *why = "Resource temporarily unavailable";
    return false;
  }
  record->locked = true;
  return true;
}

bool DeviceReadRecord(int handle, uint8_t* into, size_t size, size_t* got, std::string* why) {
  const Opened* record = OpenedAt(handle);
  if (!Step("read " + (record != nullptr ? record->name : std::string("?")), why)) return false;
  AfterStep();
  if (record == nullptr) {
    *why = "Bad file descriptor";
    return false;
  }
  const std::vector<uint8_t>& cached = files[record->stored].cached;
  *got = std::min(size, cached.size());
  NoteSize(*got);
  std::copy(cached.begin(), cached.begin() + static_cast<std::ptrdiff_t>(*got), into);
  return true;
}

bool DeviceWriteRecord(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  const Opened* record = OpenedAt(handle);
  if (!Step("write " + (record != nullptr ? record->name : std::string("?")), why)) return false;
  if (record == nullptr) {
    *why = "Bad file descriptor";
    return false;
  }
  NoteSize(size);
  File& file = files[record->stored];
  if (file.cached.size() < size) file.cached.resize(size, 0);
  std::copy(bytes, bytes + size, file.cached.begin());
  file.unflushed.push_back(Write{0, std::vector<uint8_t>(bytes, bytes + size)});
  AfterStep();
  return true;
}

bool DeviceFlushRecord(int handle, std::string* why) {
  const Opened* record = OpenedAt(handle);
  if (!Step("flush " + (record != nullptr ? record->name : std::string("?")), why)) return false;
  if (record == nullptr) {
    *why = "Bad file descriptor";
    return false;
  }
  File& file = files[record->stored];
  file.disk = file.cached;
  file.unflushed.clear();
  AfterStep();
  return true;
}

int DeviceOpenNewFile(const char* name, std::string* why) {
  if (!Step(std::string("new ") + name, why)) return -1;
  const std::string stored = Resolve(name);
  const auto found = files.find(stored);
  if (found != files.end() && !found->second.regular) {
    *why = "not a regular file";
    AfterStep();
    return -1;
  }
  // The empty file is on the disk at once, as a new directory entry would be after the power came back.
  files[stored] = File{};
  opened.push_back(Opened{name, stored, true, false});
  AfterStep();
  return static_cast<int>(opened.size() - 1);
}

bool DeviceAppendFile(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  const Opened* record = OpenedAt(handle);
  if (!Step("append " + (record != nullptr ? record->name : std::string("?")), why)) return false;
  if (record == nullptr) {
    *why = "Bad file descriptor";
    return false;
  }
  NoteSize(size);
  File& file = files[record->stored];
  file.unflushed.push_back(Write{file.cached.size(), std::vector<uint8_t>(bytes, bytes + size)});
  file.cached.insert(file.cached.end(), bytes, bytes + size);
  AfterStep();
  return true;
}

void DeviceCloseRecord(int handle) {
  Opened* record = OpenedAt(handle);
  std::string ignored;
  Step("close " + (record != nullptr ? record->name : std::string("?")), &ignored);
  if (record != nullptr) *record = Opened{};
  AfterStep();
}

bool DeviceMakeFolder(const char* name, std::string* why) {
  if (!Step(std::string("make-folder ") + name, why)) return false;
  AfterStep();
  const std::string folder = Resolve(name);
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    if (files.count(folder.substr(0, end)) != 0) {
      *why = "File exists";
      return false;
    }
    if (end == std::string::npos) break;
  }
  MemoryMakeFolder(folder);
  return true;
}

bool DeviceCreateFile(const char* name, const uint8_t* bytes, size_t size, std::string* why) {
  if (!Step(std::string("create ") + name, why)) return false;
  NoteSize(size);
  const std::string stored = Resolve(name);
  if (files.count(stored) == 0) {
    const size_t slash = stored.rfind('/');
    if (slash != std::string::npos && !IsFolder(stored.substr(0, slash))) {
      *why = "No such file or directory";
      AfterStep();
      return false;
    }
    // Made and filled, then flushed: what a power cut right after leaves is the whole file.
    MemoryPutFile(stored, std::vector<uint8_t>(bytes, bytes + size));
  }
  AfterStep();
  return true;
}

bool DeviceChangeFolder(const char* name, std::string* why) {
  if (!Step(std::string("change-folder ") + name, why)) return false;
  AfterStep();
  const std::string folder = Resolve(name);
  if (!IsFolder(folder)) {
    *why = "No such file or directory";
    return false;
  }
  workingFolder = folder;
  return true;
}

bool DeviceReadLink(const char* name, std::string* target) {
  std::string ignored;
  if (!Step(std::string("read-link ") + name, &ignored)) return false;
  AfterStep();
  const auto found = files.find(Resolve(name));
  if (found == files.end() || found->second.link.empty()) return false;
  *target = found->second.link;
  return true;
}

bool DeviceRemoveLink(const char* name, std::string* why) {
  if (!Step(std::string("remove-link ") + name, why)) return false;
  AfterStep();
  const auto found = files.find(Resolve(name));
  if (found == files.end()) return true;
  if (found->second.link.empty()) {
    *why = "not a symbolic link";
    return false;
  }
  files.erase(found);
  return true;
}

// The new file reaches the disk whole before its rename, and the rename is one step: a cut after it keeps
// the new bytes, any earlier failure or cut the old.
bool DeviceReplaceFile(const char* name, const std::vector<uint8_t>& bytes, std::string* why) {
  if (!Step("replace " + std::string(name), why)) return false;
  NoteSize(bytes.size());
  const std::string path = Resolve(name);
  for (const std::string& folder : readOnlyFolders) {
    if (path.rfind(folder + "/", 0) == 0) {
      *why = "Permission denied";
      return false;
    }
  }
  const auto found = files.find(path);
  if (found != files.end() && !found->second.regular) {
    *why = "Is a directory";
    return false;
  }
  files[path] = File{true, bytes, bytes, {}, {}, {}};
  AfterStep();
  return true;
}

std::string DeviceSettingsFileName() { return kMemorySettingsFile; }

}  // namespace coilrun
