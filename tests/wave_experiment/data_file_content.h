// What a data file holds as a program sees it, and whether two readings hold the same: the
// check behind every round trip of the data file (the codec's tables, the fuzzer, the save
// button). No test framework here, so the fuzzer uses it too.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>

#include "wave_experiment/experiment_data.h"

namespace data_file_content {

struct Reading {
  Unit1::ReadOutcome outcome = Unit1::ReadOutcome::BadContent;
  Unit1::ExperimentQuestions q;
  Unit1::MeasurementTable t;
  std::int32_t rows = 0, cols = 0;
};

inline Reading Read(std::string_view bytes, const Unit1::DataFilePolicy& policy) {
  Reading r;
  r.outcome = Unit1::ParseDataFile(bytes, policy, r.q, r.t, r.rows, r.cols);
  return r;
}

inline std::string Write(const Reading& r, const Unit1::DataFilePolicy& policy) {
  return Unit1::FormatDataFile(policy, r.q, r.t, r.rows, r.cols);
}

// The first difference between two readings in what the program shows and saves, or the
// empty text: the questions; the answers (an answer of no lines is the one empty line the
// file holds for it); the grid's counts as the grid shows them (never fewer than its header
// row and column); the cells inside them of the kinds the program saves.
inline std::string Difference(const Reading& a, const Reading& b, const Unit1::DataFilePolicy& policy) {
  auto answer = [](Unit1::StringList lines) {
    if (lines.empty()) lines.push_back("");
    return lines;
  };
  if (a.q.Question1 != b.q.Question1) return "question 1";
  if (a.q.Question2 != b.q.Question2) return "question 2";
  if (answer(a.q.Answer1Lines) != answer(b.q.Answer1Lines)) return "answer 1";
  if (answer(a.q.Answer2Lines) != answer(b.q.Answer2Lines)) return "answer 2";
  std::int32_t rows = std::max(a.rows, 1), cols = std::max(a.cols, 1);
  if (rows != std::max(b.rows, 1)) return "row count";
  if (cols != std::max(b.cols, 1)) return "column count";
  using Table = Unit1::MeasurementTable;
  for (std::int32_t k = 1; k <= policy.tablesWritten; ++k)
    for (std::int32_t c = 1; c < std::min(cols, Table::kColumns + 1); ++c)
      for (std::int32_t r = 1; r < std::min(rows, Table::kRows + 1); ++r)
        if (a.t.Cell(k, c, r) != b.t.Cell(k, c, r)) {
          return "cell " + std::to_string(k) + "/" + std::to_string(c) + "/" + std::to_string(r);
        }
  return "";
}

}  // namespace data_file_content
