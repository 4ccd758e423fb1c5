// The data checker: the made set passes, and each kind of broken file is named with what is wrong.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "data_support.h"

namespace coilrun {
namespace {

using DataCheckerTest = MadeDataTest;
using Colour = std::array<uint8_t, 3>;  // red, green, blue
constexpr Colour kBody{51, 102, 255};

// Checks the working folder, which must fail, and expects each "NAME: part" in the line of that file.
void ExpectFound(const std::vector<std::string>& found) {
  const ToolRun run = RunDataTool("check");
  SCOPED_TRACE(run.output);
  EXPECT_EQ(run.exitCode, 1);
  for (const std::string& expected : found) {
    const size_t split = expected.find(": ") + 2, start = run.output.find(expected.substr(0, split));
    EXPECT_LT(run.output.find(expected.substr(split), start), run.output.find('\n', start)) << expected;
  }
}

// Paints a block of a background as made: 640x480 pixels of 24 bits, the bottom row first.
void PaintBackground(const char* name, Rect r, Colour c) {
  FileBytes b = ReadFileBytes(name);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      for (int i = 0; i < 3; ++i) b.at(static_cast<size_t>(54 + (479 - y) * 1920 + 3 * x + i)) = c[2 - i];
  WriteFileBytes(name, b);
}

// Turns every colour but black in the palette of a PCX file into `c`.
void Recolour(const char* name, Colour c) {
  FileBytes b = ReadFileBytes(name);
  for (size_t at = b.size() - 768; at < b.size(); at += 3)
    if (b[at] + b[at + 1] + b[at + 2] != 0)
      std::copy(c.begin(), c.end(), b.begin() + static_cast<ptrdiff_t>(at));
  WriteFileBytes(name, b);
}

TEST_F(DataCheckerTest, PassesTheMadeSetInTheWorkingFolder) {
  const ToolRun run = RunDataTool("check");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  std::string expected;
  for (const char* name : AssetTable) expected += std::string(name) + ": ok\n";
  EXPECT_EQ(run.output, expected + "SCORE.DAT: ok\n");
}

// Pictures of one pixel, too small for every rectangle drawn from them; a sheet all transparent; a file that
// is no picture; sounds the game cannot play or would play wrongly; a short score table; a missing file.
TEST_F(DataCheckerTest, NamesWhatIsWrongWithEachFile) {
  std::vector<std::string> found = {"MENU.DAT: cannot be loaded", "EAT.WAV: cannot be loaded",
                                    "DIE.WAV: 2 channel(s)",
                                    std::string("SCORE.DAT: 10 bytes, not ").append(std::to_string(kScoreFileSize)),
                                    "STAGE03.DAT: missing"};
  for (int index = 0; index < kAssetClearWav; ++index) {
    if (index == kAssetMenu || index == kAssetStage00 + 3 || index == kAssetData2) continue;
    FileBytes b = ReadFileBytes(AssetName(index));
    const bool pcx = KindOfAsset(static_cast<AssetIndex>(index)) == AssetKind::kPcx;
    const FileBytes size = pcx ? FileBytes{0, 0, 0, 0} : FileBytes{1, 0, 0, 0, 1, 0, 0, 0};
    std::copy(size.begin(), size.end(), b.begin() + (pcx ? 8 : 18));
    WriteFileBytes(AssetName(index), b);
    const char* what = index == kAssetEnemy01 || index == kAssetEnemy02 ? "the enemy" : "the full screen";
    if (index != kAssetData) found.push_back(AssetName(index) + std::string(": too small for ") + what);
  }
  Recolour("DATA2.DAT", {0, 0, 0});
  for (const auto& [asset, rect, what] : kSheetRects)
    found.push_back(AssetName(asset) + std::string(asset == kAssetData ? ": too small for " : ": ") + what);
  WriteFileBytes("MENU.DAT", FileBytes(200, 0x42));
  FileBytes eat = ReadFileBytes("EAT.WAV"), die = ReadFileBytes("DIE.WAV");
  eat[20] = 2;  // a compressed format
  die[22] = 2;  // stereo
  WriteFileBytes("EAT.WAV", eat);
  WriteFileBytes("DIE.WAV", die);
  WriteFileBytes("SCORE.DAT", FileBytes(10, 0));
  std::filesystem::remove("STAGE03.DAT");
  ExpectFound(found);
}

TEST_F(DataCheckerTest, FindsTheBodyColourWhereItDoesNotBelong) {
  PaintBackground("BG00.DAT", {10, 10, 30, 30}, kBody);               // a wall on a stage without walls
  PaintBackground("BG02.DAT", {300, 400, 360, 404}, kBody);           // a wall too thin to stop the head
  PaintBackground("BG03.DAT", {420, 236, 436, 256}, kBody);           // a wall across the start's run
  PaintBackground("BG04.DAT", {0, 40, 640, 440}, kBody);              // no room left for the enemy
  PaintBackground("BG05.DAT", {200, 300, 203, 303}, {52, 103, 250});  // a blue that packs to it
  // Removed first: mingw's copy_file refuses to overwrite a file.
  std::filesystem::remove("ENEMY01.DAT");
  std::filesystem::copy_file("BG00.DAT", "ENEMY01.DAT");
  Recolour("DATA.DAT", kBody);  // the sprites, not the black around them
  Recolour("DATA2.DAT", kBody);
  ExpectFound({"BG00.DAT: 400 pixels of the body colour", "BG01.DAT: ok",
               "BG02.DAT: stray pixel of the body colour at (300, 400)", "BG03.DAT: straight run",
               "BG04.DAT: enemy's places", "BG05.DAT: stray pixel of the body colour at (200, 300)",
               "ENEMY01.DAT: the enemy: a pixel of the body colour at (10, 10)",
               "DATA.DAT: the digits: a pixel", "DATA.DAT: the pause dialog box: a pixel",
               "DATA2.DAT: the stage labels: a pixel"});
}

}  // namespace
}  // namespace coilrun

namespace coilrun {
namespace {

// The child's peak memory is read through POSIX.
#ifndef _WIN32
// A 4 GB sparse LOGO.DAT is refused from its size with the game's own line, at once and in little memory:
// a checker that read it whole took most of a minute and gigabytes.
TEST(DataCheckerOnAHugeFile, AnswersAtOnceInLittleMemoryWithTheGamesLine) {
  ScratchFolder scratch;
  scratch.Enter("coilrun-huge");
  { std::ofstream create("LOGO.DAT"); }
  std::filesystem::resize_file("LOGO.DAT", uintmax_t{4} << 30);
  const auto start = std::chrono::steady_clock::now();
  const ToolRun run = RunDataTool("check");
  const auto took = std::chrono::steady_clock::now() - start;
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  scratch.Leave();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("LOGO.DAT: larger than the "), std::string::npos) << run.output;
  EXPECT_LT(took, std::chrono::seconds(2));
  EXPECT_LT(children.ru_maxrss, 300 * 1024) << "kilobytes";
  std::printf("checker on a 4 GB sparse LOGO.DAT: %lld ms, at most %ld KB in any child so far\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()),
              children.ru_maxrss);
}

#endif

}  // namespace
}  // namespace coilrun
