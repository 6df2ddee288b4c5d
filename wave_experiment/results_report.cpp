#include "wave_experiment/results_report.h"

#include "toolkit/dtools.h"

namespace results_report {
namespace {

constexpr std::int32_t kRowLabelWidth = 15;
constexpr std::int32_t kCellWidth = 20;
constexpr std::int32_t kReportRows = 5;

void Line(std::string& out, std::string_view text) {
  out.append(text);
  out.append("\r\n");
}

// The text followed by one space.
std::string Spaced(std::string_view text) {
  return dtools::AlignText(text, static_cast<std::int32_t>(text.size()) + 1, 0);
}

void Answer(std::string& out, const Unit1::StringList& lines) {
  if (lines.empty()) Line(out, "");
  for (const std::string& line : lines) Line(out, line);
}

}  // namespace

std::string BuildReport(const Unit1::ExperimentQuestions& questions, const Unit1::MeasurementTable& table,
                        std::string_view tableLabel, std::string_view waveLabel,
                        const std::vector<ReportTable>& tables) {
  std::string out;
  Line(out, Unit1::kSeparator);
  Line(out, "Ερώτηση 1");
  Line(out, questions.Question1);
  Line(out, "Απάντηση 1");
  Answer(out, questions.Answer1Lines);
  Line(out, Unit1::kSeparator);
  Line(out, "Ερώτηση 2");
  Line(out, questions.Question2);
  Line(out, "Απάντηση 2");
  Answer(out, questions.Answer2Lines);
  for (const ReportTable& t : tables) {
    Line(out, Unit1::kSeparator);
    Line(out, Spaced(tableLabel) + Spaced(t.kindWord) + Spaced(waveLabel));
    Line(out, "");
    std::string headings = dtools::SpaceString(kRowLabelWidth);
    for (const std::string& h : t.headings) headings += dtools::AlignText(h, kCellWidth, 0);
    Line(out, headings);
    for (std::int32_t n = 1; n <= kReportRows; ++n) {
      std::string row = dtools::AlignText(dtools::IntToText(n) + "η μέτρηση", kRowLabelWidth, 0);
      for (std::int32_t c = 1; c <= static_cast<std::int32_t>(t.headings.size()); ++c) {
        row += dtools::AlignText(table.Cell(t.kind, c, n), kCellWidth, 0);
      }
      Line(out, row);
    }
  }
  return out;
}

std::string BuildWaveReport(const Unit1::ExperimentQuestions& questions, const Unit1::MeasurementTable& table,
                            std::string_view tableLabel, std::string_view waveLabel) {
  static const std::vector<ReportTable> kTables = {
      {1, "Εγκάρσια", {"Δύναμη", "Γρ. πυκνότητα", "Μήκος κύματος", "Περίοδος", "Ταχύτητα"}},
      {2, "Διαμήκη", {"Ελαστικότητα", "Πυκνότητα", "Μήκος κύματος", "Περίοδος", "Ταχύτητα"}},
  };
  return BuildReport(questions, table, tableLabel, waveLabel, kTables);
}

}  // namespace results_report
