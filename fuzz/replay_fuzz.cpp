// Fuzz target: the recording reader of --replay on any bytes, and every input taken from what it accepts.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

#include "devices/input_record.h"
#include "fuzz_target.h"
#include "platform/memory/memory_files.h"

namespace {

// At most this many inputs are taken from each stream: a run may count up to 2^64 reads.
constexpr int kMostTakes = 4096;

// Where the recording is put: a real file, and the in-memory file of the same name, so that the reader
// finds it whichever device opens it.
std::string RecordingPath() {
  static const std::string path = "/tmp/coilrun-replay-fuzz-" + std::to_string(getpid()) + ".rec";
  return path;
}

}  // namespace

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace coilrun;
  const std::string path = RecordingPath();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;
  MemoryResetFiles();
  MemoryPutFile(path, std::vector<uint8_t>(data, data + size));
  std::string error;
  if (StartReplay(path, true, &error)) {
    if (!error.empty()) __builtin_trap();
    KeySnapshot keys{};
    for (int take = 0; take < kMostTakes && !ReplayFinished(); ++take) {
      Message message{};
      TakeSeed();
      TakeKeySnapshot(&keys, [](KeySnapshot*) {});
      TakeMessage(&message);
      TakeCloseRequest();
    }
  } else if (error.empty()) {
    __builtin_trap();
  }
  FinishRecordingOrReplay();
  return 0;
}
