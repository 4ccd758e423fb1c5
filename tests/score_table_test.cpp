// The score table: the insertion rule, what the file keeps, and a rewrite that a crash cannot tear.
#include "app/score_table.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "scratch_folder.h"

namespace coilrun {
namespace {

namespace fs = std::filesystem;

// A record with recognisable leading and trailing bytes and the given scores.
std::vector<uint8_t> Record(const std::vector<int32_t>& scores, size_t size = kScoreFileSize) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  for (size_t i = 0; i < 4 * scores.size(); ++i) {
    bytes[16 + i] = static_cast<uint8_t>(static_cast<uint32_t>(scores[i / 4]) >> (8 * (i % 4)));
  }
  return bytes;
}

std::vector<int32_t> Table() {
  std::vector<int32_t> scores;
  for (int place = 0; place < kScoreTablePlaces; ++place) scores.push_back(TopScore(place));
  return scores;
}

// Each test works in a fresh directory of its own, with a fresh in-memory record.
class ScoreTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScoreFile.fill(0);
    scratch_.Enter("coilrun-score");
  }
  void TearDown() override { scratch_.Leave(); }
  ScratchFolder scratch_;
};

// The record's bytes before and after the table, and anything past the record, are kept as they were.
void ExpectAllButTheTableKept(const std::vector<uint8_t>& now, const std::vector<uint8_t>& before) {
  ASSERT_EQ(now.size(), before.size());
  EXPECT_TRUE(std::equal(now.begin(), now.begin() + 16, before.begin()));
  EXPECT_TRUE(std::equal(now.begin() + 36, now.end(), before.begin() + 36));
}

TEST_F(ScoreTableTest, NewScoresGoAboveEqualOnesAndPushTheRestDownKeepingTheRestOfTheFile) {
  const std::vector<uint8_t> file = Record({900, 700, 500, 300, 100}, kScoreFileSize + 40);
  WriteFileBytes("SCORE.DAT", file);
  RecordScore(500);  // Equal to third, lower than second: third, the old third and fourth move down.
  EXPECT_EQ(Table(), std::vector<int32_t>({900, 700, 500, 500, 300}));
  RecordScore(5000);
  EXPECT_EQ(Table(), std::vector<int32_t>({5000, 900, 700, 500, 500}));
  ExpectAllButTheTableKept(ReadFileBytes("SCORE.DAT"), file);
  const std::vector<uint8_t> before = ReadFileBytes("SCORE.DAT");
  RecordScore(10);  // Lower than all five: the table stays, and the same bytes are written back.
  EXPECT_EQ(ReadFileBytes("SCORE.DAT"), before);
}

TEST_F(ScoreTableTest, AShortFileIsReadOverTheRecordAndGrowsToItsSize) {
  ScoreFile.fill(0xEE);
  const std::vector<uint8_t> full = Record({50, 40, 30, 20, 10});
  WriteFileBytes("SCORE.DAT", std::vector<uint8_t>(full.begin(), full.begin() + 24));  // Two scores only.
  RecordScore(45);
  const std::vector<uint8_t> after = ReadFileBytes("SCORE.DAT");
  ASSERT_EQ(after.size(), static_cast<size_t>(kScoreFileSize));
  EXPECT_EQ(TopScore(0), 50);
  EXPECT_EQ(TopScore(1), 45);
  EXPECT_EQ(after.back(), 0xEE);  // Bytes the file did not have keep what memory held.
}

TEST_F(ScoreTableTest, WithoutAFileScoresLiveInMemoryAndNoFileIsCreated) {
  RecordScore(120);
  RecordScore(340);
  ReadScoreFile();
  EXPECT_EQ(Table(), std::vector<int32_t>({340, 120, 0, 0, 0}));
  EXPECT_FALSE(fs::exists("SCORE.DAT"));
}

TEST_F(ScoreTableTest, ALinkToTheScoreFileStaysALink) {
  fs::create_directories("elsewhere");
  WriteFileBytes("elsewhere/scores", Record({0, 0, 0, 0, 0}));
  fs::create_symlink("elsewhere/scores", "SCORE.DAT");
  RecordScore(77);
  EXPECT_TRUE(fs::is_symlink("SCORE.DAT"));
  ScoreFile.fill(0);
  ReadScoreFile();
  EXPECT_EQ(TopScore(0), 77);
}

// A writer killed at any moment leaves the old table or the new one, complete, and nothing else of it.
TEST_F(ScoreTableTest, AWriterKilledAtRandomMomentsNeverLeavesATornTable) {
  std::mt19937 random(12345);
  std::vector<uint8_t> initial = Record({0, 0, 0, 0, 0}, kScoreFileSize + 100);
  WriteFileBytes("SCORE.DAT", initial);
  for (int round = 0; round < 60; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int32_t score = 1;; ++score) RecordScore(score * 1000 + round);
    }
    usleep(std::uniform_int_distribution<useconds_t>(200, 4000)(random));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    SCOPED_TRACE("round " + std::to_string(round));
    ExpectAllButTheTableKept(ReadFileBytes("SCORE.DAT"), initial);
    ScoreFile.fill(0);
    ReadScoreFile();
    // Nothing of an unfinished replacement is left beside the table, but for the one name it reuses.
    for (const auto& entry : fs::directory_iterator(".")) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "SCORE.DAT" || name == "SCORE.DAT.new") << name;
    }
    const std::vector<int32_t> table = Table();
    EXPECT_TRUE(std::is_sorted(table.rbegin(), table.rend()));
    // This round's writer recorded 1000 + round, 2000 + round, ... in turn: whatever of them the table
    // holds is a run of successive ones, among the older rounds' scores.
    std::vector<int32_t> mine;
    for (int32_t score : table) {
      if (score != 0 && score % 1000 == round) mine.push_back(score);
    }
    for (size_t i = 1; i < mine.size(); ++i) EXPECT_EQ(mine[i - 1] - mine[i], 1000);
  }
}

}  // namespace
}  // namespace coilrun
