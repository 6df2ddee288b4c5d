// The student's data of an experiment program: the two questions with their answers, the
// measurement tables, and the data file they come from and go back to. Pure: no Windows
// header, so the codec builds natively and runs under the sanitizers and the fuzzer.
//
// The unit-level state below belongs to the main window's unit (Unit1); the questions form and
// the results dialog work on it directly.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Unit1 {

using StringList = std::vector<std::string>;

// The two questions of the data file and the student's answers, one entry per answer line
// (an entry may be empty). Texts are code page 1253 bytes.
struct ExperimentQuestions {
  std::string Question1;
  std::string Question2;
  StringList Answer1Lines;
  StringList Answer2Lines;

  bool operator==(const ExperimentQuestions&) const = default;
};

// Measurement texts as the student typed them, indexed by wave kind (1 transverse,
// 2 longitudinal), quantity column (1..5) and measurement row (1..5). An index outside its
// range raises forms::RangeError.
class MeasurementTable {
 public:
  static constexpr std::int32_t kKinds = 2;
  static constexpr std::int32_t kColumns = 5;
  static constexpr std::int32_t kRows = 5;

  static bool InRange(std::int32_t kind, std::int32_t column, std::int32_t row);
  std::string& Cell(std::int32_t kind, std::int32_t column, std::int32_t row);
  const std::string& Cell(std::int32_t kind, std::int32_t column, std::int32_t row) const;
  void Clear();

  bool operator==(const MeasurementTable&) const = default;

 private:
  std::array<std::string, kKinds * kColumns * kRows> cells_{};
};

// ---- Unit-level state (one instance per program, lives for the whole run) ----

// `ExperimentQuestions` of the program; the names below are its members as the program
// names them (Unit1::Question1, Unit1::Answer1Lines, ...).
extern ExperimentQuestions Questions;
inline std::string& Question1 = Questions.Question1;
inline std::string& Question2 = Questions.Question2;
inline StringList& Answer1Lines = Questions.Answer1Lines;
inline StringList& Answer2Lines = Questions.Answer2Lines;

// The stored measurements (file and report) and the working copy the results dialog edits.
extern MeasurementTable Measurements;
extern MeasurementTable MeasurementsEdit;
// Row and column counts of the measurements grid including its header row and column, that
// is the file's counts plus one; one pair serves both kinds. 0 until a file is read.
extern std::int32_t GridRows;
extern std::int32_t GridCols;

// ---- The data file ----

// The separator line between the items of the file.
inline constexpr std::string_view kSeparator = "----------";

// Messages of the reader (VeruGreekConfirm layout 0).
inline constexpr char kReadErrorCaption[] = "Σφάλμα ανάγνωσης";
inline constexpr char kBadContentText[] = "Λάθος τιμές στο αρχείο δεδομένων.";

// What differs between the programs' data files.
struct DataFilePolicy {
  // Table count written ("2": both kinds; "1": kind 1 only).
  std::int32_t tablesWritten;
  // The end of the file where a cell is due: false reads the missing cells as empty texts,
  // true is a bad-content error.
  bool endOfFileBeforeCellIsError;
  // A table beyond the two kinds: false is an error only at its first cell, true is one
  // where the table begins, cells or none.
  bool tableBeyondKindsIsError;
  // Text of the message for a data file that does not exist.
  const char* missingFileText;
};

// Kelmora2: two tables; missing cells read empty; a third table without cells passes. A
// program with other rules defines its own policy.
extern const DataFilePolicy kWaveDataFilePolicy;

enum class ReadOutcome { Ok, BadContent };

// Reads the bytes of a data file into the given state, appending to the answer lists.
// On BadContent what was read before the failing item stays where it was stored.
// Lines end at CR (an LF right after it is skipped) or at the end of the bytes; a lone LF is
// part of the line. When the tables give different row and column counts, the counts kept
// are the largest of the tables that held cells, so a save drops no cell that was read.
ReadOutcome ParseDataFile(std::string_view bytes, const DataFilePolicy& policy,
                          ExperimentQuestions& questions, MeasurementTable& table, std::int32_t& gridRows,
                          std::int32_t& gridCols);

// The bytes of the data file for the given state (CR LF line ends). An answer line that is
// exactly the separator gets one trailing space, so the file reads back. Counts below 1 (no
// table was read) are written as 0, never below, so every file the reader took comes back
// as one it takes with the same cells. Raises forms::RangeError when the counts address a
// cell outside the table.
std::string FormatDataFile(const DataFilePolicy& policy, const ExperimentQuestions& questions,
                           const MeasurementTable& table, std::int32_t gridRows, std::int32_t gridCols);

}  // namespace Unit1
