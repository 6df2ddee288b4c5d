// The field texts of the CMI exchange as any bytes: launch integers and times, status words,
// custom data from Lingo, comments and interaction records. Each must give what a plain
// reading of its rule gives, and what it writes must read back.
// The input is split at its NUL bytes (the host's texts never hold one): the first piece is the
// text under test, the further ones the fields of an interaction record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cmi_xtra/aicc_text.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// atol as the C library reads a text, kept to the 32-bit range at either end.
std::int32_t ReferenceDecimal(std::string_view text) {
  const std::string copy(text);
  const long long v = std::strtoll(copy.c_str(), nullptr, 10);
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

std::int32_t ReferenceTime(std::string_view text) {
  std::int64_t parts[3] = {ReferenceDecimal(text), 0, 0};
  size_t at = 0;
  for (int i = 1; i < 3; ++i) {
    at = text.find(':', at);
    if (at == std::string_view::npos) break;
    ++at;
    parts[i] = ReferenceDecimal(text.substr(at));
  }
  const std::int64_t total = parts[0] * 3600 + parts[1] * 60 + parts[2];
  if (total > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (total < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(total);
}

// The fields of one line of the comma-separated file, read as a spreadsheet reads them:
// quoted fields, doubled quotes inside. Nullopt for a line that is not of that form.
std::optional<std::vector<std::string>> ReadCsvLine(std::string_view line) {
  if (line.size() < 2 || line.substr(line.size() - 2) != "\r\n") return std::nullopt;
  line.remove_suffix(2);
  std::vector<std::string> fields;
  size_t i = 0;
  while (true) {
    if (i >= line.size() || line[i] != '"') return std::nullopt;
    ++i;
    std::string field;
    while (true) {
      if (i >= line.size()) return std::nullopt;
      if (line[i] == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          field.push_back('"');
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      field.push_back(line[i++]);
    }
    fields.push_back(std::move(field));
    if (i == line.size()) return fields;
    if (line[i] != ',') return std::nullopt;
    ++i;
  }
}

bool IsCustomSeparator(char c) { return c == '=' || c == '\r' || c == '\n'; }

void CheckNumbers(std::string_view text, std::int32_t seconds) {
  Check(lmint::decimalValue(text) == ReferenceDecimal(text));
  Check(lmint::timeToSeconds(text) == ReferenceTime(text));
  // Whatever time the lesson writes, the next lesson reads the same seconds back.
  Check(lmint::timeToSeconds(lmint::secondsToTime(seconds)) == seconds);
  const std::string key = lmint::numberedKey(text, seconds);
  Check(key.size() > text.size() && key.compare(0, text.size(), text) == 0 && key[text.size()] == '.');
  Check(lmint::decimalValue(std::string_view(key).substr(text.size() + 1)) == seconds);
}

void CheckStatus(std::string_view status, char letter, std::string_view set) {
  const std::string result = lmint::statusSetLetter(status, letter, set);
  // The letter just set reads back, whatever the rest of the status held.
  Check(lmint::statusHasLetter(result, Upper(letter)));
  Check(!result.empty() && result.back() == letter);
  for (char c : set) {
    const bool has = lmint::statusHasLetter(status, c);
    std::string swapped(status);
    for (char& s : swapped) s = IsLetter(s) ? static_cast<char>(s ^ 0x20) : s;
    Check(lmint::statusHasLetter(swapped, c) == has);
  }
  if (status.size() > 200) return;
  // What stands before the letter is the status with at most one run taken out, which
  // begins with a letter of the set; a "," may stand between it and the letter.
  const std::string_view head = std::string_view(result).substr(0, result.size() - 1);
  auto removedFrom = [&](std::string_view kept) {
    if (kept == status) return true;
    if (kept.size() >= status.size()) return false;
    const size_t cut = status.size() - kept.size();
    for (size_t i = 0; i + cut <= status.size(); ++i) {
      if (status.substr(0, i) != kept.substr(0, i)) break;
      if (set.find(Upper(status[i])) != std::string_view::npos && IsLetter(status[i]) &&
          status.substr(i + cut) == kept.substr(i))
        return true;
    }
    return false;
  };
  bool explained = !(!head.empty() && IsLetter(head.back())) && removedFrom(head);
  if (!explained && !head.empty() && head.back() == ',') {
    const std::string_view kept = head.substr(0, head.size() - 1);
    explained = !kept.empty() && IsLetter(kept.back()) && removedFrom(kept);
  }
  Check(explained);
  bool anyLetterOfSet = false;
  for (char c : status) anyLetterOfSet |= IsLetter(c) && set.find(Upper(c)) != std::string_view::npos;
  if (!anyLetterOfSet) Check(head == status || (head.size() == status.size() + 1 && head.back() == ','));
}

void CheckTexts(std::string_view text) {
  const std::string expanded = lmint::expandLoneCR(text);
  for (size_t i = 0; i < expanded.size(); ++i)
    if (expanded[i] == '\r') Check(i + 1 < expanded.size() && expanded[i + 1] == '\n');
  // Taking out the LF after each CR gives the same text from both.
  auto withoutLfAfterCr = [](std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
      if (!(s[i] == '\n' && i > 0 && s[i - 1] == '\r')) out.push_back(s[i]);
    return out;
  };
  Check(withoutLfAfterCr(expanded) == withoutLfAfterCr(text));

  std::string trimmed(text);
  lmint::trimLineEnd(trimmed);
  Check(text.substr(0, trimmed.size()) == trimmed);
  Check(trimmed.empty() || (trimmed.back() != '\r' && trimmed.back() != '\n'));
  Check(text.substr(trimmed.size()).find_first_not_of("\r\n") == std::string_view::npos);

  const std::string path = lmint::paramPathIn(text);
  Check(path.size() >= 10 && path.substr(path.size() - 10) == "\\PARAM.CMI");
  Check(path == std::string(text) + (text.ends_with('\\') ? "" : "\\") + "PARAM.CMI");

  const std::string quoted = lmint::quotedField(text);
  const auto read = ReadCsvLine(quoted + "\r\n");
  Check(read && read->size() == 1 && (*read)[0] == text);

  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  Check(lmint::equalsIgnoreCase(text, lower));
  if (!text.empty()) {
    std::string other(text);
    other.back() = static_cast<char>(other.back() ^ 0x01);
    if (Upper(other.back()) != Upper(text.back())) Check(!lmint::equalsIgnoreCase(text, other));
  }
}

void CheckComment(std::int32_t index, std::string_view comment) {
  const std::string entry = lmint::commentEntry(index, comment);
  const std::string number = std::to_string(index);
  const std::string open = "<" + number + ">", close = "<e." + number + ">";
  Check(entry.find_first_of("\r\n") == std::string::npos);
  Check(entry.starts_with(open) && entry.ends_with(close));
  std::string expected;
  for (char c : comment)
    if (c != '\n') expected.push_back(c);
  // A comment that holds the marker itself cannot be told from one that held a CR.
  if (expected.find("<cr>") != std::string::npos) return;
  std::string back;
  const std::string_view body =
      std::string_view(entry).substr(open.size(), entry.size() - open.size() - close.size());
  for (size_t i = 0; i < body.size(); ++i) {
    if (body.substr(i, 4) == "<cr>") {
      back.push_back('\r');
      i += 3;
    } else {
      back.push_back(body[i]);
    }
  }
  Check(back == expected);
}

void CheckCustom(std::string_view data, const std::vector<std::string>& tokens) {
  Check(tokens.size() <= lmint::customTokenLimit);
  size_t at = 0;
  for (const std::string& token : tokens) {
    // Each token is a whole run between separators, in the order of the text.
    Check(!token.empty());
    while (at < data.size() && IsCustomSeparator(data[at])) ++at;
    Check(data.substr(at, token.size()) == token);
    at += token.size();
    Check(at == data.size() || IsCustomSeparator(data[at]));
  }
  if (tokens.size() < lmint::customTokenLimit)
    Check(data.find_first_not_of("=\r\n", at) == std::string_view::npos);
}

void CheckRecord(const std::vector<std::string_view>& pieces, const std::vector<std::string>& tokens) {
  auto piece = [&](size_t i) { return std::string(i < pieces.size() ? pieces[i] : std::string_view()); };
  lmint::InteractionRecord r;
  std::string* fields[] = {&r.courseId,        &r.studentId,   &r.date,      &r.time,
                           &r.interactionId,   &r.objectiveId, &r.type,      &r.correctResponse,
                           &r.studentResponse, &r.result,      &r.weighting, &r.latency};
  for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = piece(i);
  const auto line = ReadCsvLine(lmint::interactionLine(r, tokens));
  const size_t custom = (tokens.size() + 1) / 2;
  Check(line && line->size() == 13 + custom);
  const std::string* order[] = {&r.courseId,
                                &r.studentId,
                                nullptr,
                                &r.date,
                                &r.time,
                                &r.interactionId,
                                &r.objectiveId,
                                &r.type,
                                &r.correctResponse,
                                &r.studentResponse,
                                &r.result,
                                &r.weighting,
                                &r.latency};
  for (size_t i = 0; i < 13; ++i) Check((*line)[i] == (order[i] ? *order[i] : std::string()));
  for (size_t i = 0; i < custom; ++i)
    Check((*line)[13 + i] == (2 * i + 1 < tokens.size() ? tokens[2 * i + 1] : std::string()));
  const auto header = ReadCsvLine(lmint::interactionHeader(tokens));
  Check(header && header->size() == 13 + custom && (*header)[0] == "course_id" && (*header)[12] == "latency");
  for (size_t i = 0; i < custom; ++i) Check((*header)[13 + i] == tokens[2 * i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  std::int32_t seconds;
  std::memcpy(&seconds, data, 4);
  const std::uint8_t choice = data[4];
  const std::string_view all(reinterpret_cast<const char*>(data + 5), size - 5);
  std::vector<std::string_view> pieces;
  for (size_t at = 0;;) {
    const size_t nul = all.find('\0', at);
    pieces.push_back(all.substr(at, nul == std::string_view::npos ? std::string_view::npos : nul - at));
    if (nul == std::string_view::npos) break;
    at = nul + 1;
  }
  const std::string_view text = pieces[0];

  CheckNumbers(text, seconds);
  static constexpr char kLetters[] = "NICPFnicpfLTlt";
  const char letter = kLetters[choice % (sizeof kLetters - 1)];
  const std::string_view set =
      (choice % (sizeof kLetters - 1)) < 10 ? lmint::lessonStatusLetters : lmint::exitLetters;
  CheckStatus(text, letter, set);
  CheckTexts(text);
  CheckComment(seconds, text);
  const std::string_view customData = pieces.size() > 12 ? pieces[12] : text;
  const std::vector<std::string> tokens = lmint::customTokens(customData);
  CheckCustom(customData, tokens);
  CheckRecord(pieces, tokens);
  return 0;
}
