// The in-memory layer's account of each demo's replay, which the browser's must match: every presented
// frame's checksum and the moment the virtual clock, paced as the design paces it, showed it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/entry.h"
#include "content/assets.h"
#include "game/score_table.h"
#include "memory_reset.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"

namespace {

namespace fs = std::filesystem;
using namespace coilrun;

// Replays `demo` on the data with an empty score table; writes OUT/NAME.frames.
bool Account(const fs::path& data, const fs::path& out, const fs::path& demo) {
  MemoryResetAll();
  MemoryPutFolder(data);
  MemoryPutFile(kScoreFileName, std::vector<uint8_t>(kScoreFileSize, 0));
  // The game reads the recording through its file device, as it reads the data.
  std::string demoPath = demo.filename().string();
  MemoryPutFileFromDisk(demoPath, demo);
  char program[] = "coilrun";
  char replay[] = "--replay";
  char* argv[] = {program, replay, demoPath.data(), nullptr};
  RunCoilrun(3, argv);
  const fs::path frames = out / (demo.stem().string() + ".frames");
  std::ofstream file(frames);
  for (const MemoryFrame& frame : MemoryPresentedFrames())
    file << frame.checksum << ' ' << frame.timeNs << '\n';
  std::printf("wrote %s (%zu frames)\n", frames.string().c_str(), MemoryPresentedFrames().size());
  return file.good() && !MemoryPresentedFrames().empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: coilrun-web-reference DATA_DIR OUT_DIR DEMO...\n");
    return 2;
  }
  const fs::path data = fs::absolute(argv[1]);
  const fs::path out = fs::absolute(argv[2]);
  fs::create_directories(out);
  bool ok = true;
  for (int i = 3; i < argc; ++i) ok = Account(data, out, fs::absolute(argv[i])) && ok;
  return ok ? 0 : 1;
}
