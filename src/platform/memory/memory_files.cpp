// The in-memory files: what each file holds on the disk and in the cache, a journal, failed steps and cut
// power.
#include "platform/memory/memory_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "devices/file_device.h"

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
};
// An open record: its file's name, and whether it holds the lock.
struct Opened {
  std::string name;
  bool open = false;
  bool locked = false;
};

// The files by name, open records by handle, the journal, the step to fail, the step after which the power
// goes and the sectors that still reach the disk, and whether the power is gone.
std::map<std::string, File> files;
std::vector<Opened> opened;
std::vector<std::string> journal;
int failStep = 0;
std::string failOperation;
int cutStep = 0;
uint32_t keptOnCut = 0;
bool powerGone = false;

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
  opened.clear();
  journal.clear();
  failStep = 0;
  failOperation.clear();
  cutStep = 0;
  keptOnCut = 0;
  powerGone = false;
}

void MemoryPutFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  files[name] = File{true, bytes, bytes, {}};
}

void MemoryPutSpecialFile(const std::string& name) {
  files[name] = File{false, {}, {}, {}};
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

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why) {
  if (!Step(std::string("read-whole ") + name, why)) return false;
  AfterStep();
  const auto found = files.find(name);
  if (found == files.end()) {
    *why = "no such file in the in-memory folder";
  } else if (!found->second.regular) {
    *why = "not a regular file";
  } else if (found->second.cached.size() > maxSize) {
    *why = "larger than the " + std::to_string(maxSize) + " bytes such a file may hold";
  } else {
    *bytes = found->second.cached;
    return true;
  }
  return false;
}

int DeviceOpenRecord(const char* name, bool* missing, std::string* why) {
  *missing = false;
  if (!Step(std::string("open ") + name, why)) return -1;
  AfterStep();
  const auto found = files.find(name);
  if (found == files.end()) {
    *missing = true;
    *why = "No such file or directory";
    return -1;
  }
  if (!found->second.regular) {
    *why = "not a regular file";
    return -1;
  }
  opened.push_back(Opened{name, true, false});
  return static_cast<int>(opened.size() - 1);
}

bool DeviceLockRecord(int handle, std::string* why) {
  Opened* record = OpenedAt(handle);
  if (!Step("lock " + (record != nullptr ? record->name : std::string("?")), why)) return false;
  AfterStep();
  if (record == nullptr) {
    *why = "Bad file descriptor";
    return false;
  }
  // One thread cannot wait for itself: a lock held through another handle is a test's mistake.
  for (const Opened& other : opened) {
    if (&other != record && other.open && other.locked && other.name == record->name) {
      *why = "Resource deadlock avoided";
      return false;
    }
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
  const std::vector<uint8_t>& cached = files[record->name].cached;
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
  File& file = files[record->name];
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
  File& file = files[record->name];
  file.disk = file.cached;
  file.unflushed.clear();
  AfterStep();
  return true;
}

int DeviceCreateFile(const char* name, std::string* why) {
  if (!Step(std::string("create ") + name, why)) return -1;
  const auto found = files.find(name);
  if (found != files.end() && !found->second.regular) {
    *why = "not a regular file";
    AfterStep();
    return -1;
  }
  // The empty file is on the disk at once, as a new directory entry would be after the power came back.
  files[name] = File{};
  opened.push_back(Opened{name, true, false});
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
  File& file = files[record->name];
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

}  // namespace coilrun
