// Failure notes: one line naming what failed and why.
#include "app/failure.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace coilrun {

namespace {

// The first failure noted since the last clear, "what: why".
std::string failure;

std::string WorkingDirectory() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("the working directory");
}

}  // namespace

void NoteFailure(const std::string& what, const std::string& why) {
  if (failure.empty()) failure = what + ": " + why;
}

void NoteLoadFailure(const char* fileName, const char* kind) {
  const std::string what = std::string("cannot load ") + fileName;
  struct stat info {};
  if (stat(fileName, &info) != 0) {
    if (errno == ENOENT) {
      NoteFailure(what, "no such file in " + WorkingDirectory());
    } else {
      NoteFailure(what, std::strerror(errno));
    }
  } else if (access(fileName, R_OK) != 0) {
    NoteFailure(what, std::strerror(errno));
  } else {
    NoteFailure(what, std::string("not ") + kind + " the game can read");
  }
}

std::string FailureMessage() { return failure; }
void ClearFailure() { failure.clear(); }

}  // namespace coilrun
