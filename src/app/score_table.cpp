// The high-score table: the record in "SCORE.DAT", its safe rewrite, and the high-score screen.
#include "app/score_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/failure.h"
#include "app/shared_sprites.h"
#include "app/window.h"
#include "display/display.h"
#include "images/images.h"

namespace coilrun {

std::array<uint8_t, kScoreFileSize> ScoreFile{};

namespace {

// Reads up to `size` bytes at the file's start; how many were read.
size_t ReadUpTo(int fd, uint8_t* into, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = pread(fd, into + done, size - done, static_cast<off_t>(done));
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

bool WriteAll(int fd, const uint8_t* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t put = write(fd, bytes + done, size - done);
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// The file's bytes past the record, which are kept as they were.
std::vector<uint8_t> ReadTail(int fd) {
  std::vector<uint8_t> tail;
  uint8_t buffer[4096];
  off_t at = kScoreFileSize;
  for (;;) {
    const ssize_t got = pread(fd, buffer, sizeof buffer, at);
    if (got <= 0) break;
    tail.insert(tail.end(), buffer, buffer + got);
    at += got;
  }
  return tail;
}

// Where the score file really lives, so that a link to it stays a link.
std::string ResolvedScorePath() {
  char resolved[PATH_MAX];
  return realpath(kScoreFileName, resolved) != nullptr ? std::string(resolved) : std::string(kScoreFileName);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file beside `target`, not yet linked into the directory where the file system allows it, so that
// a crash while it is written leaves nothing behind. Falls back to a named temporary file.
int CreateReplacement(const std::string& target, mode_t mode, std::string* temporaryName) {
  const int fd = open(DirectoryOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (fd >= 0) return fd;
  *temporaryName = target + ".XXXXXX";
  const int named = mkstemp(temporaryName->data());
  if (named < 0) temporaryName->clear();
  return named;
}

// Puts a fully written replacement in place of `target` by one rename.
bool PutInPlace(int fd, const std::string& target, std::string* temporaryName) {
  if (temporaryName->empty()) {
    *temporaryName = target + ".new";
    unlink(temporaryName->c_str());
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporaryName->c_str(), AT_SYMLINK_FOLLOW) != 0)
      return false;
  }
  return rename(temporaryName->c_str(), target.c_str()) == 0;
}

// Writes the record and the old tail to a new file beside the old one, flushes it and renames it over.
void ReplaceScoreFile(int oldFd) {
  struct stat info {};
  if (fstat(oldFd, &info) != 0) return;
  const std::vector<uint8_t> tail = ReadTail(oldFd);
  const std::string target = ResolvedScorePath();
  std::string temporaryName;
  const int fd = CreateReplacement(target, info.st_mode & 07777, &temporaryName);
  if (fd < 0) return;
  bool ok = fchmod(fd, info.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, ScoreFile.data(), ScoreFile.size()) && WriteAll(fd, tail.data(), tail.size());
  ok = ok && fsync(fd) == 0 && PutInPlace(fd, target, &temporaryName);
  close(fd);
  if (!ok) {
    if (!temporaryName.empty()) unlink(temporaryName.c_str());
    return;
  }
  const int directory = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
}

int32_t ReadLe32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                              (uint32_t{p[3]} << 24));
}

void WriteLe32(uint8_t* p, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(bits >> (8 * i));
}

void SetTopScore(int place, int32_t score) {
  WriteLe32(ScoreFile.data() + kScoreTableOffset + 4 * place, score);
}

// The file opened for reading and writing, only if it already exists; -1 otherwise.
int OpenScoreFile() {
  return open(kScoreFileName, O_RDWR | O_CLOEXEC);
}

void DrawScoreRow(int place) {
  // A score edited to be negative shows as 0; the game never writes one.
  int32_t value = TopScore(place) < 0 ? 0 : TopScore(place);
  const auto y = static_cast<int16_t>(kHighScoreFirstRowY + kHighScoreRowStep * place);
  for (int k = 0; k < kScoreDigitCount; ++k) {
    const auto x = static_cast<int16_t>(kHighScoreDigitsRightX - kDigitStride * k);
    BlitToCanvasKeyed(DigitSprites[static_cast<size_t>(value % 10)], x, y, kDigitRect.left, kDigitRect.top,
                      kDigitRect.right, kDigitRect.bottom);
    value /= 10;
  }
}

}  // namespace

int32_t TopScore(int place) {
  return ReadLe32(ScoreFile.data() + kScoreTableOffset + 4 * place);
}

void ReadScoreFile() {
  const int fd = OpenScoreFile();
  if (fd < 0) return;
  ReadUpTo(fd, ScoreFile.data(), ScoreFile.size());
  close(fd);
}

void RecordScore(int32_t score) {
  const int fd = OpenScoreFile();
  if (fd >= 0) ReadUpTo(fd, ScoreFile.data(), ScoreFile.size());
  for (int place = 0; place < kScoreTablePlaces; ++place) {
    if (TopScore(place) <= score) {
      for (int below = kScoreTablePlaces - 1; below > place; --below) SetTopScore(below, TopScore(below - 1));
      SetTopScore(place, score);
      break;
    }
  }
  if (fd < 0) return;
  ReplaceScoreFile(fd);
  close(fd);
}

int RunHighScoreScreen() {
  ReadScoreFile();
  Surface* background = nullptr;
  if (!LoadAsset(static_cast<AssetIndex>(kAssetBg00 + 5), &background)) return 0;
  Surface* sheet = nullptr;
  if (!LoadAsset(kAssetData2, &sheet)) {
    ReleaseSurface(background);
    return 0;
  }
  SetSourceColorKey(sheet, PackColor(0, 0, 0));
  BlitPlacementToCanvas(background, kFullScreen, false);
  BlitPlacementToCanvas(sheet, kHighScoreBanner, true);
  ReleaseSurface(sheet);
  ReleaseSurface(background);
  for (int place = 0; place < kScoreTablePlaces; ++place) DrawScoreRow(place);
  PresentFrame();
  WaitForAnyKey();
  return 1;
}

}  // namespace coilrun
