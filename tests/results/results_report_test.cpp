#include "wave_experiment/results_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/core/text.h"

namespace {

Unit1::ExperimentQuestions Questions() {
  Unit1::ExperimentQuestions q;
  q.Question1 = "Πώς μεταβάλλεται η ταχύτητα διάδοσης όταν αυξάνεται η τάση του νήματος;";
  q.Question2 = "Εξαρτάται η ταχύτητα διάδοσης από τη συχνότητα;";
  q.Answer1Lines = {"Η ταχύτητα αυξάνεται", "", "ανάλογα με τη ρίζα της τάσης."};
  return q;
}

Unit1::MeasurementTable Table() {
  Unit1::MeasurementTable t;
  auto row = [&](int kind, int n, std::vector<std::string> cells) {
    for (int c = 1; c <= 5; ++c) t.Cell(kind, c, n) = cells[static_cast<size_t>(c - 1)];
  };
  row(1, 1, {"3.5", "0.4", "11.83", "4", "2.958"});
  row(1, 2, {"10", "0.1", "", "", ""});
  // Longer than the column, exactly as wide, Greek and cut, a fraction.
  row(1, 3, {"123456789012345678901234", "abcdefghijklmnopqrst", "δεν μέτρησα ακόμη καθόλου", "3/4", ""});
  row(1, 5, {"", "", "", "", "υ"});
  row(2, 1, {"200", "8000", "", "0.02", ""});
  row(2, 4, {"", "", "1/3", "", "5e-1"});
  return t;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

TEST(WaveReport, GoldenBytes) {
  const std::vector<std::string> expected = {
      "----------",
      "Ερώτηση 1",
      "Πώς μεταβάλλεται η ταχύτητα διάδοσης όταν αυξάνεται η τάση του νήματος;",
      "Απάντηση 1",
      "Η ταχύτητα αυξάνεται",
      "",
      "ανάλογα με τη ρίζα της τάσης.",
      "----------",
      "Ερώτηση 2",
      "Εξαρτάται η ταχύτητα διάδοσης από τη συχνότητα;",
      "Απάντηση 2",
      "",
      "----------",
      "Πίνακας Μετρήσεων  - Εγκάρσια κύματα ",
      "",
      "               Δύναμη              Γρ. πυκνότητα       Μήκος κύματος       Περίοδος            "
      "Ταχύτητα            ",
      "1η μέτρηση     3.5                 0.4                 11.83               4                   2.958  "
      "             ",
      "2η μέτρηση     10                  0.1                                                                "
      "             ",
      "3η μέτρηση     12345678901234567890abcdefghijklmnopqrstδεν μέτρησα ακόμη κα3/4                        "
      "             ",
      "4η μέτρηση                                                                                            "
      "             ",
      "5η μέτρηση                                                                                     υ      "
      "             ",
      "----------",
      "Πίνακας Μετρήσεων  - Διαμήκη κύματα ",
      "",
      "               Ελαστικότητα        Πυκνότητα           Μήκος κύματος       Περίοδος            "
      "Ταχύτητα            ",
      "1η μέτρηση     200                 8000                                    0.02                       "
      "             ",
      "2η μέτρηση                                                                                            "
      "             ",
      "3η μέτρηση                                                                                            "
      "             ",
      "4η μέτρηση                                             1/3                                     5e-1   "
      "             ",
      "5η μέτρηση                                                                                            "
      "             ",
  };
  std::string report =
      results_report::BuildWaveReport(Questions(), Table(), "Πίνακας Μετρήσεων  -", "κύματα");
  std::string golden = Joined(expected);
  ASSERT_EQ(golden.size(), 1758u);
  if (report != golden) {
    // The first line that differs, readable.
    size_t at = 0;
    while (at < report.size() && at < golden.size() && report[at] == golden[at]) ++at;
    size_t lineStart = golden.rfind('\n', at == 0 ? 0 : at - 1);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    FAIL() << "differs at byte " << at << " in the line beginning '"
           << forms::ToUtf8(golden.substr(lineStart, 40)) << "'";
  }
  // Every table line, headings and rows, is 115 characters before its line end.
  size_t tableLines = 0;
  for (size_t pos = 0; pos < report.size();) {
    size_t end = report.find("\r\n", pos);
    std::string line = report.substr(pos, end - pos);
    if (line.rfind("               ", 0) == 0 || line.find("η μέτρηση") != std::string::npos) {
      EXPECT_EQ(line.size(), 115u) << forms::ToUtf8(line);
      ++tableLines;
    }
    pos = end + 2;
  }
  EXPECT_EQ(tableLines, 12u);
}

TEST(WaveReport, TitleLineTakesTheDialogsCaptionsAndEmptyAnswersAreOneLine) {
  // Whatever the dialog's labels say at the moment of writing.
  Unit1::ExperimentQuestions q;
  Unit1::MeasurementTable t;
  std::string report = results_report::BuildWaveReport(q, t, "Πίνακας", "");
  EXPECT_NE(report.find("\r\nΠίνακας Εγκάρσια  \r\n"), std::string::npos);
  EXPECT_NE(report.find("\r\nΠίνακας Διαμήκη  \r\n"), std::string::npos);
  EXPECT_EQ(
      report.substr(0, 78),
      "----------\r\nΕρώτηση 1\r\n\r\nΑπάντηση 1\r\n\r\n----------\r\nΕρώτηση 2\r\n\r\nΑπάντηση 2\r\n\r\n");
  // The report never ends with a separator.
  EXPECT_EQ(report.substr(report.size() - 117), "5η μέτρηση     " + std::string(100, ' ') + "\r\n");
}

}  // namespace
