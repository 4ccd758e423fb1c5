// The data checker: the made set passes, and each kind of broken file is named with what is wrong.
#include <gtest/gtest.h>

#include <sstream>

#include "app/assets.h"
#include "data_support.h"

namespace coilrun {
namespace {

// The checker's line for one file.
std::string LineOf(const std::string& output, const std::string& name) {
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(name + ": ", 0) == 0) return line.substr(name.size() + 2);
  }
  return "(no line)";
}

class DataCheckerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ToolRun made = RunDataTool("make " + folder_.Path());
    ASSERT_EQ(made.exitCode, 0) << made.output;
    const ToolRun probe = RunDataTool("check " + folder_.Path());
    if (probe.output.rfind("checker not built", 0) == 0) GTEST_SKIP() << probe.output;
  }
  FileBytes Read(const char* name) const { return ReadWholeFile(folder_.File(name)); }
  void Write(const char* name, const FileBytes& bytes) const { WriteWholeFile(folder_.File(name), bytes); }

  // Paints a block of a 24-bit bitmap (top-down coordinates) in one colour.
  void PaintBitmap(const char* name, int x0, int y0, int width, int height, Colour c) const {
    FileBytes b = Read(name);
    const uint32_t offset = Le32(b, 10), pictureWidth = Le32(b, 18), pictureHeight = Le32(b, 22);
    const size_t rowBytes = (pictureWidth * 3 + 3) & ~3u;
    for (int y = y0; y < y0 + height; ++y) {
      for (int x = x0; x < x0 + width; ++x) {
        const size_t at =
            offset + (pictureHeight - 1 - static_cast<uint32_t>(y)) * rowBytes + static_cast<size_t>(x) * 3;
        b.at(at) = c.b;
        b.at(at + 1) = c.g;
        b.at(at + 2) = c.r;
      }
    }
    Write(name, b);
  }

  TempFolder folder_;
};

TEST_F(DataCheckerTest, PassesTheMadeSetWithOneLinePerFile) {
  const ToolRun run = RunDataTool("check " + folder_.Path());
  EXPECT_EQ(run.exitCode, 0) << run.output;
  for (const char* name : AssetTable) EXPECT_EQ(LineOf(run.output, name), "ok") << name;
  EXPECT_EQ(LineOf(run.output, kScoreFileName), "ok");
}

TEST_F(DataCheckerTest, ChecksTheWorkingFolderByDefault) {
  const std::string command =
      "cd " + folder_.Path() + " && " + COILRUN_BINARY_DIR + "/coilrun-data check >/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

TEST_F(DataCheckerTest, NamesFilesThatCannotBeLoadedOrAreTooSmall) {
  FileBytes sheet = Read("DATA.DAT");
  sheet[8] = 99;  // a 100x100 picture: smaller than the banners and the dialog
  sheet[9] = 0;
  sheet[10] = 99;
  sheet[11] = 0;
  Write("DATA.DAT", sheet);
  FileBytes labels = Read("DATA2.DAT");
  const size_t palette = labels.size() - 768;
  for (size_t entry = palette; entry < labels.size(); ++entry) labels[entry] = 0;  // every colour black
  Write("DATA2.DAT", labels);
  Write("MENU.DAT", FileBytes(200, 0x42));
  FileBytes eat = Read("EAT.WAV");
  eat[20] = 2;  // a compressed format
  Write("EAT.WAV", eat);
  Write("SCORE.DAT", FileBytes(10, 0));
  std::filesystem::remove(folder_.File("STAGE03.DAT"));

  const ToolRun run = RunDataTool("check " + folder_.Path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(LineOf(run.output, "DATA.DAT").find("100x100, too small for stage-clear banner"),
            std::string::npos)
      << run.output;
  EXPECT_NE(LineOf(run.output, "MENU.DAT").find("cannot be loaded"), std::string::npos) << run.output;
  EXPECT_NE(LineOf(run.output, "EAT.WAV").find("cannot be loaded"), std::string::npos) << run.output;
  EXPECT_EQ(LineOf(run.output, "SCORE.DAT"), "10 bytes, not 1036");
  EXPECT_EQ(LineOf(run.output, "STAGE03.DAT"), "missing");
  EXPECT_NE(LineOf(run.output, "DATA2.DAT").find("stage labels (0, 0)-(162, 89) is all transparent"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(LineOf(run.output, "DIE.WAV"), "ok");
}

TEST_F(DataCheckerTest, FindsTheBodyColourWhereItDoesNotBelong) {
  const Colour body{51, 102, 255};
  PaintBitmap("BG00.DAT", 100, 100, 20, 20, body);                // a wall on a stage without walls
  PaintBitmap("BG02.DAT", 300, 400, 60, 4, body);                 // a wall too thin to stop the head
  PaintBitmap("BG03.DAT", 420, 236, 16, 20, body);                // a wall across the start's run
  PaintBitmap("BG04.DAT", 0, 40, 640, 400, body);                 // no room left for the enemy
  PaintBitmap("BG05.DAT", 200, 300, 3, 3, Colour{52, 103, 250});  // a speck of a blue that packs to it
  FileBytes enemy = Read("ENEMY01.DAT");
  const size_t middle = Le32(enemy, 10) + 20 * ((50 + 3) & ~3u) + 25;  // a pixel inside the creature
  const size_t entry = 54 + 4 * static_cast<size_t>(enemy.at(middle));
  enemy[entry] = 255;  // the colour of that pixel becomes the body colour (blue, green, red)
  enemy[entry + 1] = 102;
  enemy[entry + 2] = 51;
  Write("ENEMY01.DAT", enemy);

  const ToolRun run = RunDataTool("check " + folder_.Path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(LineOf(run.output, "BG00.DAT").find("400 pixels of the body colour"), std::string::npos)
      << run.output;
  EXPECT_NE(LineOf(run.output, "BG02.DAT").find("stray pixel of the body colour at (300, 400)"),
            std::string::npos)
      << run.output;
  EXPECT_NE(LineOf(run.output, "BG03.DAT").find("straight run"), std::string::npos) << run.output;
  EXPECT_NE(LineOf(run.output, "BG04.DAT").find("enemy's places"), std::string::npos) << run.output;
  EXPECT_NE(LineOf(run.output, "BG05.DAT").find("stray pixel of the body colour at (200, 300)"),
            std::string::npos)
      << run.output;
  EXPECT_NE(LineOf(run.output, "ENEMY01.DAT").find("the enemy: a pixel of the body colour"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(LineOf(run.output, "BG01.DAT"), "ok");
}

TEST_F(DataCheckerTest, FindsTheBodyColourInSpritesDrawnIntoTheField) {
  // The palette colour of a digit's and a stage label's top row becomes the body colour.
  const std::pair<const char*, std::pair<int, int>> kInked[] = {
      {"DATA.DAT", {kDigitCut.left + 4, kDigitCut.top + 1}}, {"DATA2.DAT", {3, 4}}};
  for (const auto& [sheet, point] : kInked) {
    FileBytes b = Read(sheet);
    const Colour ink = DecodePcx(b).At(point.first, point.second);
    ASSERT_NE(ink, (Colour{0, 0, 0})) << sheet;
    for (size_t entry = b.size() - 768; entry < b.size(); entry += 3) {
      if (Colour{b[entry], b[entry + 1], b[entry + 2]} == ink) {
        b[entry] = 51;
        b[entry + 1] = 102;
        b[entry + 2] = 255;
        break;
      }
    }
    Write(sheet, b);
  }
  const ToolRun run = RunDataTool("check " + folder_.Path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(LineOf(run.output, "DATA.DAT").find("the digits: a pixel of the body colour"), std::string::npos)
      << run.output;
  EXPECT_NE(LineOf(run.output, "DATA2.DAT").find("the stage labels: a pixel of the body colour"),
            std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace coilrun
