#include "wave_experiment/experiment_data.h"

#include <algorithm>
#include <optional>

#include "forms/core/checked_arithmetic.h"

namespace Unit1 {

ExperimentQuestions Questions;
MeasurementTable Measurements;
MeasurementTable MeasurementsEdit;
std::int32_t GridRows = 0;
std::int32_t GridCols = 0;

const DataFilePolicy kWaveDataFilePolicy{2, false, false, "Το αρχείο δεδομένων δεν βρέθηκε."};

bool MeasurementTable::InRange(std::int32_t kind, std::int32_t column, std::int32_t row) {
  return kind >= 1 && kind <= kKinds && column >= 1 && column <= kColumns && row >= 1 && row <= kRows;
}

std::string& MeasurementTable::Cell(std::int32_t kind, std::int32_t column, std::int32_t row) {
  if (!InRange(kind, column, row)) throw forms::RangeError();
  return cells_[static_cast<size_t>(((kind - 1) * kColumns + (column - 1)) * kRows + (row - 1))];
}

const std::string& MeasurementTable::Cell(std::int32_t kind, std::int32_t column, std::int32_t row) const {
  return const_cast<MeasurementTable*>(this)->Cell(kind, column, row);
}

void MeasurementTable::Clear() {
  for (auto& c : cells_) c.clear();
}

namespace {

// Line reader over the bytes of the file.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }

  // The next line; at the end of the bytes, the empty text.
  std::string Next() {
    size_t start = pos_;
    size_t cr = bytes_.find('\r', pos_);
    if (cr == std::string_view::npos) {
      pos_ = bytes_.size();
      return std::string(bytes_.substr(start));
    }
    pos_ = cr + 1;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    return std::string(bytes_.substr(start, cr - start));
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

// A count line: leading spaces, an optional sign and decimal digits, nothing after, inside
// the 32-bit range.
std::optional<std::int32_t> ParseCount(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

struct BadContent {};

// Reads answer lines up to the closing separator; the end of the file before it is an error.
void ReadAnswer(LineReader& in, StringList& lines) {
  while (true) {
    if (in.AtEnd()) throw BadContent{};
    std::string line = in.Next();
    if (line == kSeparator) return;
    lines.push_back(std::move(line));
  }
}

std::int32_t ReadCount(LineReader& in) {
  auto v = ParseCount(in.Next());
  if (!v) throw BadContent{};
  return *v;
}

void WriteLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append("\r\n");
}

void WriteAnswer(std::string& out, const StringList& lines) {
  if (lines.empty()) WriteLine(out, "");
  for (const std::string& line : lines) {
    // A line equal to the separator would end the answer when the file is read again.
    if (line == kSeparator) {
      WriteLine(out, std::string(kSeparator) + " ");
    } else {
      WriteLine(out, line);
    }
  }
}

}  // namespace

ReadOutcome ParseDataFile(std::string_view bytes, const DataFilePolicy& policy,
                          ExperimentQuestions& questions, MeasurementTable& table, std::int32_t& gridRows,
                          std::int32_t& gridCols) {
  LineReader in(bytes);
  // Counts of the tables that held cells: the largest are kept. Until one did, each table's
  // counts are taken as they come.
  bool anyCells = false;
  try {
    questions.Question1 = in.Next();
    in.Next();
    ReadAnswer(in, questions.Answer1Lines);
    questions.Question2 = in.Next();
    in.Next();
    ReadAnswer(in, questions.Answer2Lines);
    std::int32_t tables = ReadCount(in);
    for (std::int32_t k = 1; k <= tables; ++k) {
      if (policy.tableBeyondKindsIsError && k > MeasurementTable::kKinds) throw BadContent{};
      std::int32_t rows = ReadCount(in);
      std::int32_t cols = ReadCount(in);
      std::int32_t newRows = forms::CheckedAdd(rows, 1);
      std::int32_t newCols = forms::CheckedAdd(cols, 1);
      bool hasCells = rows > 0 && cols > 0;
      if (!anyCells) {
        gridRows = newRows;
        gridCols = newCols;
      } else if (hasCells) {
        gridRows = std::max(gridRows, newRows);
        gridCols = std::max(gridCols, newCols);
      }
      anyCells = anyCells || hasCells;
      // A table without cells is not walked row by row: its counts may be anything up to the
      // 32-bit limit, and billions of empty rows would hold up the start of the program.
      for (std::int32_t row = 1; hasCells && row <= rows; ++row) {
        for (std::int32_t col = 1; col <= cols; ++col) {
          if (policy.endOfFileBeforeCellIsError && in.AtEnd()) throw BadContent{};
          std::string cell = in.Next();
          if (!MeasurementTable::InRange(k, col, row)) throw BadContent{};
          table.Cell(k, col, row) = std::move(cell);
        }
      }
    }
  } catch (const BadContent&) {
    return ReadOutcome::BadContent;
  } catch (const forms::OverflowError&) {
    return ReadOutcome::BadContent;
  }
  return ReadOutcome::Ok;
}

std::string FormatDataFile(const DataFilePolicy& policy, const ExperimentQuestions& questions,
                           const MeasurementTable& table, std::int32_t gridRows, std::int32_t gridCols) {
  std::string out;
  WriteLine(out, questions.Question1);
  WriteLine(out, kSeparator);
  WriteAnswer(out, questions.Answer1Lines);
  WriteLine(out, kSeparator);
  WriteLine(out, questions.Question2);
  WriteLine(out, kSeparator);
  WriteAnswer(out, questions.Answer2Lines);
  WriteLine(out, kSeparator);
  WriteLine(out, std::to_string(policy.tablesWritten));
  std::int32_t rows = std::max(forms::CheckedSub(gridRows, 1), 0);
  std::int32_t cols = std::max(forms::CheckedSub(gridCols, 1), 0);
  for (std::int32_t k = 1; k <= policy.tablesWritten; ++k) {
    WriteLine(out, std::to_string(rows));
    WriteLine(out, std::to_string(cols));
    for (std::int32_t row = 1; cols > 0 && row <= rows; ++row) {
      for (std::int32_t col = 1; col <= cols; ++col) WriteLine(out, table.Cell(k, col, row));
    }
  }
  return out;
}

}  // namespace Unit1
