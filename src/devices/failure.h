// What made the program fail, kept for the one line it prints before it ends, and the one reporter of every
// line of failure that the player reads.
#pragma once

#include <string>

namespace coilrun {

// Notes a failure: `what` failed because of `why`. The first note stands until cleared.
void NoteFailure(const std::string& what, const std::string& why);

// Notes that a data file could not be loaded, with the reason its read failed (missing, not a regular file,
// too large, ...) or, for a file that was read, that its content cannot be read as `kind` ("a PCX picture",
// "a bitmap", "a wave file").
void NoteLoadFailure(const char* fileName, const char* kind);

// "what: why" of the first failure noted, or empty.
std::string FailureMessage();

void ClearFailure();

// Prints one line on the standard error: "coilrun: what: why", or "coilrun: what" when `why` is empty.
void ReportFailure(const std::string& what, const std::string& why = std::string());

}  // namespace coilrun
