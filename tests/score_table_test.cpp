// The score table: the insertion rule, what the file keeps, and a save in place that no failed step or
// power cut can tear.
#include "game/score_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

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

// Each test starts with fresh in-memory files and a fresh table.
class ScoreTableTest : public MemoryDeviceTest {};

// The record's bytes before and after the table, and anything past the record, are kept as they were.
void ExpectAllButTheTableKept(const std::vector<uint8_t>& now, const std::vector<uint8_t>& before) {
  ASSERT_EQ(now.size(), before.size());
  EXPECT_TRUE(std::equal(now.begin(), now.begin() + 16, before.begin()));
  EXPECT_TRUE(std::equal(now.begin() + 36, now.end(), before.begin() + 36));
}

TEST_F(ScoreTableTest, NewScoresGoAboveEqualOnesAndOnlyTheRecordIsReadAndWritten) {
  const std::vector<uint8_t> file = Record({900, 700, 500, 300, 100}, kScoreFileSize + 100'000);
  MemoryPutFile("SCORE.DAT", file);
  RecordScore(500);  // Equal to third, lower than second: third, the old third and fourth move down.
  EXPECT_EQ(Table(), std::vector<int32_t>({900, 700, 500, 500, 300}));
  RecordScore(5000);
  EXPECT_EQ(Table(), std::vector<int32_t>({5000, 900, 700, 500, 500}));
  ExpectAllButTheTableKept(MemoryFileBytes("SCORE.DAT"), file);
  const std::vector<uint8_t> before = MemoryFileBytes("SCORE.DAT");
  RecordScore(10);  // Lower than all five: the table stays, and the same bytes are written back.
  EXPECT_EQ(MemoryFileBytes("SCORE.DAT"), before);
  // Each save takes the exclusive lock before it reads, and flushes before it closes; a read of the table for
  // the screen takes the shared lock and closes the file, and with it the lock. What lies past the record is
  // never read nor copied.
  ReadScoreFile();
  const std::vector<std::string> save = {"open SCORE.DAT",       "lock SCORE.DAT exclusive", "read SCORE.DAT 1036",
                                         "write SCORE.DAT 1036", "flush SCORE.DAT",          "close SCORE.DAT"};
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), save.begin(), save.end());
  expected.insert(expected.end(),
                  {"open SCORE.DAT", "lock SCORE.DAT shared", "read SCORE.DAT 1036", "close SCORE.DAT"});
  EXPECT_EQ(MemoryFileJournal(), expected);
  EXPECT_FALSE(ScoreFileFailed());
}

TEST_F(ScoreTableTest, AShortFileIsReadOverTheRecordAndGrowsToItsSize) {
  ScoreFile.fill(0xEE);
  const std::vector<uint8_t> full = Record({50, 40, 30, 20, 10});
  MemoryPutFile("SCORE.DAT", std::vector<uint8_t>(full.begin(), full.begin() + 24));  // Two scores only.
  RecordScore(45);
  const std::vector<uint8_t> after = MemoryFileBytes("SCORE.DAT");
  ASSERT_EQ(after.size(), static_cast<size_t>(kScoreFileSize));
  EXPECT_EQ(TopScore(0), 50);
  EXPECT_EQ(TopScore(1), 45);
  EXPECT_EQ(after.back(), 0xEE);  // Bytes the file did not have keep what memory held.
}

// Without a file the table lives in memory, as designed, with no word; what is not a regular file is
// refused with a line, left as it is, and the run marked as failed.
TEST_F(ScoreTableTest, WithoutAFileScoresLiveInMemoryAndAnythingButAFileIsRefusedWithALine) {
  testing::internal::CaptureStderr();
  RecordScore(120);
  RecordScore(340);
  ReadScoreFile();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(Table(), std::vector<int32_t>({340, 120, 0, 0, 0}));
  EXPECT_FALSE(MemoryFileExists("SCORE.DAT"));
  EXPECT_FALSE(ScoreFileFailed());
  MemoryPutSpecialFile("SCORE.DAT");
  testing::internal::CaptureStderr();
  RecordScore(560);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "coilrun: cannot save SCORE.DAT: not a regular file\n");
  EXPECT_EQ(Table(), std::vector<int32_t>({560, 340, 120, 0, 0}));
  EXPECT_TRUE(MemoryFileExists("SCORE.DAT"));
  EXPECT_TRUE(MemoryFileBytes("SCORE.DAT").empty());
  EXPECT_TRUE(ScoreFileFailed());
}

// A save, with one step failing or the power cut after one step (unflushed sectors lost, or reaching the
// disk in any mix): the file holds the old record or the new one, whole; a save that said nothing holds
// the new one; a failed one said so in one line; memory has the new score either way.
TEST_F(ScoreTableTest, NoFailedStepOrPowerCutTearsTheTableOrLosesASaveWithoutAWord) {
  const std::vector<uint8_t> before = Record({900, 700, 500, 300, 100}, kScoreFileSize + 600);
  const std::vector<uint8_t> after = Record({900, 800, 700, 500, 300}, kScoreFileSize + 600);
  const auto save = [&](auto setUp) {
    MemoryResetFiles();
    MemoryPutFile("SCORE.DAT", before);
    ScoreFile.fill(0);
    ForgetScoreFileFailure();
    setUp();
    testing::internal::CaptureStderr();
    RecordScore(800);
    const std::string printed = testing::internal::GetCapturedStderr();
    const std::vector<uint8_t> now = MemoryFileBytes("SCORE.DAT");
    EXPECT_TRUE(now == before || now == after);
    if (printed.empty()) {
      EXPECT_EQ(now, after);
      EXPECT_FALSE(ScoreFileFailed());
    } else {
      EXPECT_EQ(printed, "coilrun: cannot save SCORE.DAT: Input/output error\n");
      EXPECT_TRUE(ScoreFileFailed());
    }
    const std::vector<int32_t> table = Table();
    EXPECT_NE(std::find(table.begin(), table.end(), 800), table.end());
  };
  save([] {});
  const int steps = static_cast<int>(MemoryFileJournal().size());
  ASSERT_GE(steps, 4);
  for (int step = 1; step <= steps; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    save([step] { MemoryFailFileStep(step); });
    for (uint32_t kept = 0; kept < 8; ++kept) save([step, kept] { MemoryCutPowerAfter(step, kept); });
  }
}

// Whether the journal shows the record's bytes read or written.
bool RecordTouched() {
  return std::any_of(MemoryFileJournal().begin(), MemoryFileJournal().end(), [](const std::string& line) {
    return line.rfind("read SCORE.DAT", 0) == 0 || line.rfind("write SCORE.DAT", 0) == 0;
  });
}

// Another program's lock in the way is waited for about five seconds, in short tries; not had, nothing is
// read or written, one line says so, memory keeps the score, and the screen that follows neither waits
// again nor says more. A close request ends the wait at once. A reader's shared lock lets the table be
// read, and a lock let go within the wait lets the save through.
TEST_F(ScoreTableTest, ALockHeldElsewhereIsWaitedForFiveSecondsAtMostAndNotAtAllOnceAskedToClose) {
  const std::vector<uint8_t> file = Record({900, 700, 500, 300, 100});
  MemoryPutFile("SCORE.DAT", file);
  MemoryHoldLockElsewhere("SCORE.DAT", true);
  testing::internal::CaptureStderr();
  RecordScore(800);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "coilrun: cannot save SCORE.DAT: locked by another program\n");
  EXPECT_GE(MemorySleptNanoseconds(), 5'000'000'000);
  EXPECT_LT(MemorySleptNanoseconds(), 5'100'000'000);
  EXPECT_FALSE(RecordTouched());
  EXPECT_EQ(Table(), std::vector<int32_t>({800, 0, 0, 0, 0}));
  EXPECT_TRUE(ScoreFileFailed());
  const int64_t slept = MemorySleptNanoseconds();
  testing::internal::CaptureStderr();
  ReadScoreFile();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(MemorySleptNanoseconds(), slept);
  EXPECT_EQ(MemoryFileBytes("SCORE.DAT"), file);

  MemoryRequestClose();
  testing::internal::CaptureStderr();
  RecordScore(850);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "coilrun: cannot save SCORE.DAT: locked by another program\n");
  EXPECT_EQ(MemorySleptNanoseconds(), slept);
  EXPECT_EQ(Table(), std::vector<int32_t>({850, 800, 0, 0, 0}));

  MemoryResetAll();
  ScoreFile.fill(0);
  ForgetScoreFileFailure();
  MemoryPutFile("SCORE.DAT", file);
  MemoryHoldLockElsewhere("SCORE.DAT", false);
  ReadScoreFile();
  EXPECT_EQ(Table(), std::vector<int32_t>({900, 700, 500, 300, 100}));
  EXPECT_EQ(MemorySleptNanoseconds(), 0);
  MemoryHoldLockElsewhere("SCORE.DAT", false, MemoryClockNanoseconds() + 1'000'000'000);
  RecordScore(800);
  EXPECT_EQ(Table(), std::vector<int32_t>({900, 800, 700, 500, 300}));
  EXPECT_EQ(MemoryFileBytes("SCORE.DAT"), Record({900, 800, 700, 500, 300}));
  EXPECT_GE(MemorySleptNanoseconds(), 1'000'000'000);
  EXPECT_FALSE(ScoreFileFailed());
}

}  // namespace
}  // namespace coilrun
