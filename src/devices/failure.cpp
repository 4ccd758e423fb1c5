// Failure notes: one line naming what failed and why.
#include "devices/failure.h"

#include <cstdio>
#include <string>

#include "devices/data_file.h"

namespace coilrun {

namespace {

// The first failure noted since the last clear, "what: why".
std::string failure;

}  // namespace

void NoteFailure(const std::string& what, const std::string& why) {
  if (failure.empty()) failure = what + ": " + why;
}

void NoteLoadFailure(const char* fileName, const char* kind) {
  const std::string why = DataFileFailure(fileName);
  NoteFailure(std::string("cannot load ") + fileName,
              why.empty() ? std::string("not ") + kind + " the game can read" : why);
}

std::string FailureMessage() {
  return failure;
}
void ClearFailure() {
  failure.clear();
}

void ReportFailure(const std::string& what, const std::string& why) {
  if (why.empty()) {
    std::fprintf(stderr, "coilrun: %s\n", what.c_str());
  } else {
    std::fprintf(stderr, "coilrun: %s: %s\n", what.c_str(), why.c_str());
  }
}

}  // namespace coilrun
