// The data file codec over small code page 1253 fixtures: what it reads, what it refuses, and
// that what it writes reads back byte for byte.
#include "wave_experiment/experiment_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "forms/core/checked_arithmetic.h"
#include "sound_experiment/sound_data_file.h"

namespace {

using Unit1::DataFilePolicy;
using Unit1::ExperimentQuestions;
using Unit1::MeasurementTable;
using Unit1::ReadOutcome;

// Joins lines with CR LF after each, as the writer ends them.
std::string Lines(std::initializer_list<std::string> lines, const char* end = "\r\n") {
  std::string s;
  for (const auto& l : lines) s += l + end;
  return s;
}

const std::string kHead = Lines({"Πώς εξαρτάται η ταχύτητα από την τάση;", "----------", "Αυξάνεται.", "",
                                 "Με την τετραγωνική ρίζα.", "----------", "Και από την πυκνότητα;",
                                 "----------", "Μειώνεται.", "----------"});

struct Read {
  ReadOutcome outcome;
  ExperimentQuestions q;
  MeasurementTable t;
  std::int32_t rows = 0, cols = 0;
};

Read Parse(const std::string& bytes, const DataFilePolicy& policy = Unit1::kWaveDataFilePolicy) {
  Read r;
  r.outcome = Unit1::ParseDataFile(bytes, policy, r.q, r.t, r.rows, r.cols);
  return r;
}

int FilledCells(const MeasurementTable& t) {
  int n = 0;
  for (int k = 1; k <= 2; ++k)
    for (int c = 1; c <= 5; ++c)
      for (int r = 1; r <= 5; ++r) n += !t.Cell(k, c, r).empty();
  return n;
}

TEST(DataFileRead, FullFileHoldsQuestionsAnswersAndBothTables) {
  std::string bytes = kHead + Lines({"2", "2", "3", "3,5", "0.4", "11.8", "7", "", "9",  //
                                     "1", "2", "Ε1", "Δ1"});
  Read r = Parse(bytes);
  ASSERT_EQ(r.outcome, ReadOutcome::Ok);
  EXPECT_EQ(r.q.Question1, "Πώς εξαρτάται η ταχύτητα από την τάση;");
  EXPECT_EQ(r.q.Answer1Lines, (Unit1::StringList{"Αυξάνεται.", "", "Με την τετραγωνική ρίζα."}));
  EXPECT_EQ(r.q.Question2, "Και από την πυκνότητα;");
  EXPECT_EQ(r.q.Answer2Lines, (Unit1::StringList{"Μειώνεται."}));
  // Rows outer, columns inner; the largest counts of the two tables are kept.
  EXPECT_EQ(r.rows, 3);
  EXPECT_EQ(r.cols, 4);
  EXPECT_EQ(r.t.Cell(1, 1, 1), "3,5");
  EXPECT_EQ(r.t.Cell(1, 3, 1), "11.8");
  EXPECT_EQ(r.t.Cell(1, 1, 2), "7");
  EXPECT_EQ(r.t.Cell(1, 2, 2), "");
  EXPECT_EQ(r.t.Cell(1, 3, 2), "9");
  EXPECT_EQ(r.t.Cell(2, 1, 1), "Ε1");
  EXPECT_EQ(r.t.Cell(2, 2, 1), "Δ1");
}

// Malformed and borderline files: the outcome, the counts kept and how many cells were
// stored before the reading stopped.
TEST(DataFileRead, CasesTable) {
  struct Case {
    const char* name;
    std::string bytes;
    const DataFilePolicy* policy;
    ReadOutcome outcome;
    std::int32_t rows, cols;
    int cells;
  };
  const DataFilePolicy* wave = &Unit1::kWaveDataFilePolicy;
  const DataFilePolicy* sound = &SoundProgram::kSoundDataFilePolicy;
  const ReadOutcome ok = ReadOutcome::Ok, bad = ReadOutcome::BadContent;
  std::string r6c1 = Lines({"1", "6", "1", "a", "b", "c", "d", "e", "f"});
  std::string r1c6 = Lines({"1", "1", "6", "a", "b", "c", "d", "e", "f"});
  const Case cases[] = {
      {"empty file", "", wave, bad, 0, 0, 0},
      {"ends inside answer 1", Lines({"Q1", "----------", "half an answer"}), wave, bad, 0, 0, 0},
      {"ends inside answer 2", Lines({"Q1", "----------", "a", "----------", "Q2", "----------"}), wave, bad,
       0, 0, 0},
      {"no count line", kHead, wave, bad, 0, 0, 0},
      {"count not a number", kHead + Lines({"2x"}), wave, bad, 0, 0, 0},
      // 5
      {"count with trailing space", kHead + Lines({"1 ", "1", "1", "x"}), wave, bad, 0, 0, 0},
      {"count with leading spaces", kHead + Lines({"  1", " 1", "1", "x"}), wave, ok, 2, 2, 1},
      {"R = 6: five cells kept", kHead + r6c1, wave, bad, 7, 2, 5},
      {"C = 6: five cells kept", kHead + r1c6, wave, bad, 2, 7, 5},
      {"LF-only line ends",
       Lines({"Q1", "----------", "a", "----------", "Q2", "----------", "b", "----------", "0"}, "\n"), wave,
       bad, 0, 0, 0},
      // 10
      {"CR-only line ends",
       Lines(
           {"Q1", "----------", "a", "----------", "Q2", "----------", "b", "----------", "1", "1", "1", "x"},
           "\r"),
       wave, ok, 2, 2, 1},
      {"table count 0", kHead + Lines({"0"}), wave, ok, 0, 0, 0},
      {"table count -3", kHead + Lines({"-3"}), wave, ok, 0, 0, 0},
      {"table count 1", kHead + Lines({"1", "1", "2", "x", "y"}), wave, ok, 2, 3, 2},
      {"table 3 with a cell", kHead + Lines({"3", "0", "0", "0", "0", "1", "1", "z"}), wave, bad, 2, 2, 0},
      // 15
      {"table 3 without cells", kHead + Lines({"3", "1", "1", "a", "0", "0", "0", "0"}), wave, ok, 2, 2, 1},
      {"cells missing at the end", kHead + Lines({"1", "2", "2", "a"}), wave, ok, 3, 3, 1},
      {"cells missing at the end, sound", kHead + Lines({"1", "2", "2", "a"}), sound, bad, 3, 3, 1},
      {"row count overflows", kHead + Lines({"1", "2147483647", "1"}), wave, bad, 0, 0, 0},
      {"count beyond 32 bits", kHead + Lines({"1", "99999999999", "1"}), wave, bad, 0, 0, 0},
      // 20
      {"empty count line", kHead + Lines({"1", "", "1"}), wave, bad, 0, 0, 0},
      {"larger second table", kHead + Lines({"2", "1", "2", "a", "b", "3", "1", "c", "d", "e"}), wave, ok, 4,
       3, 5},
      {"cell-less table keeps counts", kHead + Lines({"2", "2", "2", "a", "b", "c", "d", "9", "0"}), wave, ok,
       3, 3, 4},
      {"first separator holds anything",
       Lines({"Q1", "xx", "a", "----------", "Q2", "", "b", "----------", "0"}), wave, ok, 0, 0, 0},
      // 25
      {"set 3 without cells, sound", kHead + Lines({"3", "1", "1", "a", "0", "0", "0", "0"}), sound, bad, 2,
       2, 1},
      {"set 3 with cells, sound", kHead + Lines({"3", "0", "0", "0", "0", "1", "1", "z"}), sound, bad, 1, 1,
       0},
      {"set count 2, sound", kHead + Lines({"2", "1", "1", "a", "1", "1", "b"}), sound, ok, 2, 2, 2},
      {"table count 0, sound", kHead + Lines({"0"}), sound, ok, 0, 0, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << c.name);
    Read r = Parse(c.bytes, *c.policy);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.rows, c.rows);
    EXPECT_EQ(r.cols, c.cols);
    EXPECT_EQ(FilledCells(r.t), c.cells);
  }
}

// Row counts up to the 32-bit limit with no columns hold no cell: reading and writing them
// must not step through the rows one by one (a thousand such tables would take hours). The
// sound program takes two sets at most, so it gets two such tables.
TEST(DataFileRead, TablesWithoutCellsAreNotWalkedRowByRow) {
  const auto tables = [](int count) {
    std::string bytes = std::to_string(count) + "\r\n";
    for (int k = 0; k < count; ++k) bytes += Lines({k % 2 ? "0" : "2147483646", k % 2 ? "2147483646" : "0"});
    return bytes;
  };
  for (const DataFilePolicy* policy : {&Unit1::kWaveDataFilePolicy, &SoundProgram::kSoundDataFilePolicy}) {
    SCOPED_TRACE(policy == &Unit1::kWaveDataFilePolicy ? "wave" : "sound");
    Read r = Parse(kHead + tables(policy == &Unit1::kWaveDataFilePolicy ? 1000 : 2), *policy);
    ASSERT_EQ(r.outcome, ReadOutcome::Ok);
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(r.cols, 2147483647);
    EXPECT_EQ(FilledCells(r.t), 0);
    const std::string written = Unit1::FormatDataFile(*policy, r.q, r.t, 2147483647, 1);
    EXPECT_TRUE(written.ends_with(Lines({"2147483646", "0"}))) << written;
  }
}

TEST(DataFileRead, AnswersAreAppendedAndASeparatorLineEndsTheAnswer) {
  Read r;
  r.q.Answer1Lines = {"kept"};
  // An answer line written as the bare separator: the answer ends there and the lines after
  // it are taken for the next items, down to a count line that is not a number.
  std::string bytes = Lines(
      {"Q1", "----------", "a", "----------", "b", "----------", "Q2", "----------", "c", "----------", "0"});
  r.outcome = Unit1::ParseDataFile(bytes, Unit1::kWaveDataFilePolicy, r.q, r.t, r.rows, r.cols);
  EXPECT_EQ(r.outcome, ReadOutcome::BadContent);
  EXPECT_EQ(r.q.Answer1Lines, (Unit1::StringList{"kept", "a"}));
  EXPECT_EQ(r.q.Question2, "b");
  EXPECT_EQ(r.q.Answer2Lines, (Unit1::StringList{"Q2"}));
}

struct State {
  ExperimentQuestions q;
  MeasurementTable t;
  std::int32_t rows = 0, cols = 0;
};

// What the writer writes reads back to the same state and is written again byte for byte,
// in the files of both programs.
TEST(DataFileWrite, RoundTripsTable) {
  auto full = [] {
    State s;
    s.q = {"Ερώτηση α;", "Ερώτηση β;", {"γραμμή 1", "", "γραμμή 3"}, {"μία"}};
    s.rows = 6;
    s.cols = 6;
    for (int k = 1; k <= 2; ++k)
      for (int c = 1; c <= 5; ++c)
        for (int r = 1; r <= 5; ++r) s.t.Cell(k, c, r) = std::to_string(k * 100 + c * 10 + r);
    return s;
  };
  struct Case {
    const char* name;
    State state;
    Unit1::StringList answer1After;  // how answer 1 reads back
  };
  State emptyAnswers = full();
  emptyAnswers.q.Answer1Lines.clear();
  emptyAnswers.q.Answer2Lines.clear();
  State noTables;
  noTables.q = {"a", "b", {"x"}, {"y"}};
  State separatorLine = full();
  separatorLine.q.Answer1Lines = {"πριν", "----------", "μετά"};
  State lfInside = full();
  lfInside.q.Question1 = "δύο\nγραμμές";
  lfInside.q.Answer1Lines = {"x\ny"};
  State partial = full();
  partial.rows = 3;
  partial.cols = 2;
  const Case cases[] = {
      {"full", full(), {"γραμμή 1", "", "γραμμή 3"}},
      {"empty answers", emptyAnswers, {""}},
      {"counts 0 write 0", noTables, {"x"}},
      {"separator as an answer line", separatorLine, {"πριν", "---------- ", "μετά"}},
      {"lone LF inside a line", lfInside, {"x\ny"}},
      // 5
      {"part of the table", partial, {"γραμμή 1", "", "γραμμή 3"}},
  };
  for (const DataFilePolicy* policy : {&Unit1::kWaveDataFilePolicy, &SoundProgram::kSoundDataFilePolicy}) {
    for (size_t i = 0; i < std::size(cases); ++i) {
      const Case& c = cases[i];
      SCOPED_TRACE(testing::Message()
                   << "row " << i << ": " << c.name << ", tables written " << policy->tablesWritten);
      std::string bytes = Unit1::FormatDataFile(*policy, c.state.q, c.state.t, c.state.rows, c.state.cols);
      Read back = Parse(bytes, *policy);
      ASSERT_EQ(back.outcome, ReadOutcome::Ok);
      EXPECT_EQ(back.q.Question1, c.state.q.Question1);
      EXPECT_EQ(back.q.Answer1Lines, c.answer1After);
      // No table read leaves the counts at 0; the grid shows its header row and column all
      // the same, and the file says 0.
      EXPECT_EQ(back.rows, std::max(c.state.rows, 1));
      EXPECT_EQ(back.cols, std::max(c.state.cols, 1));
      for (int k = 1; k <= policy->tablesWritten; ++k)
        for (int col = 1; col < c.state.cols; ++col)
          for (int row = 1; row < c.state.rows; ++row)
            EXPECT_EQ(back.t.Cell(k, col, row), c.state.t.Cell(k, col, row));
      EXPECT_EQ(Unit1::FormatDataFile(*policy, back.q, back.t, back.rows, back.cols), bytes);
    }
  }
}

// A file with no table, or with tables of no rows or columns: the counts written are never
// below 0, and the file reads back to the same counts.
TEST(DataFileWrite, CountsWrittenAreNeverBelowZero) {
  struct Case {
    const char* name;
    std::string tables;  // the lines after the answers
    const DataFilePolicy* policy;
    std::string written;
  };
  const DataFilePolicy* wave = &Unit1::kWaveDataFilePolicy;
  const DataFilePolicy* sound = &SoundProgram::kSoundDataFilePolicy;
  const Case cases[] = {
      {"table count 0", Lines({"0"}), wave, Lines({"2", "0", "0", "0", "0"})},
      {"table count 0, sound", Lines({"0"}), sound, Lines({"1", "0", "0"})},
      {"table count -3", Lines({"-3"}), wave, Lines({"2", "0", "0", "0", "0"})},
      {"counts -5 and 2", Lines({"1", "-5", "2"}), sound, Lines({"1", "0", "2"})},
      {"counts 3 and 0", Lines({"1", "3", "0"}), wave, Lines({"2", "3", "0", "3", "0"})},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << c.name);
    Read first = Parse(kHead + c.tables, *c.policy);
    ASSERT_EQ(first.outcome, ReadOutcome::Ok);
    std::string bytes = Unit1::FormatDataFile(*c.policy, first.q, first.t, first.rows, first.cols);
    EXPECT_EQ(bytes, kHead + c.written);
    Read back = Parse(bytes, *c.policy);
    ASSERT_EQ(back.outcome, ReadOutcome::Ok);
    EXPECT_EQ(Unit1::FormatDataFile(*c.policy, back.q, back.t, back.rows, back.cols), bytes);
  }
}

TEST(DataFileWrite, ExactBytesOfBothPolicies) {
  ExperimentQuestions q{"Ε1", "Ε2", {}, {"α"}};
  MeasurementTable t;
  t.Cell(1, 1, 1) = "1";
  t.Cell(1, 2, 1) = "2";
  t.Cell(2, 1, 1) = "3";
  std::string head = Lines({"Ε1", "----------", "", "----------", "Ε2", "----------", "α", "----------"});
  EXPECT_EQ(Unit1::FormatDataFile(Unit1::kWaveDataFilePolicy, q, t, 2, 3),
            head + Lines({"2", "1", "2", "1", "2", "1", "2", "3", ""}));
  EXPECT_EQ(Unit1::FormatDataFile(SoundProgram::kSoundDataFilePolicy, q, t, 2, 3),
            head + Lines({"1", "1", "2", "1", "2"}));
  // The cp1253 bytes of the Greek text, not UTF-8.
  EXPECT_EQ(head.substr(0, 2), "\xC5\x31");
}

TEST(DataFileWrite, FullFileFixtureRoundTripsByteForByte) {
  std::string bytes = kHead + Lines({"2", "2", "3", "3,5", "0.4", "11.8", "7", "", "9",  //
                                     "2", "3", "Ε1", "Δ1", "", "", "", "x"});
  Read r = Parse(bytes);
  ASSERT_EQ(r.outcome, ReadOutcome::Ok);
  EXPECT_EQ(Unit1::FormatDataFile(Unit1::kWaveDataFilePolicy, r.q, r.t, r.rows, r.cols), bytes);
}

TEST(MeasurementTable, IndicesOutsideTheirRangesRaiseTheRangeError) {
  MeasurementTable t;
  struct Case {
    int kind, column, row;
    bool ok;
  };
  const Case cases[] = {{1, 1, 1, true},
                        {2, 5, 5, true},
                        {0, 1, 1, false},
                        {3, 1, 1, false},
                        {1, 0, 1, false},
                        // 5
                        {1, 6, 1, false},
                        {1, 1, 0, false},
                        {1, 1, 6, false}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    if (c.ok) {
      EXPECT_NO_THROW(t.Cell(c.kind, c.column, c.row) = "v");
    } else {
      EXPECT_THROW(t.Cell(c.kind, c.column, c.row), forms::RangeError);
    }
  }
  EXPECT_THROW(Unit1::FormatDataFile(Unit1::kWaveDataFilePolicy, {}, t, 7, 2), forms::RangeError);
}

}  // namespace
