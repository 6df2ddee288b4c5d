#include "cmi_xtra/aicc_text.h"

#include <cstdio>
#include <limits>

namespace lmint {

namespace {

// Only the ASCII letters count: status words are AICC vocabulary, and the code page of the
// course-management system is not known here.
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char upperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::int32_t clampToInt32(std::int64_t v) {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

bool isLineStart(std::string_view text, std::size_t i) {
  return i == 0 || text[i - 1] == '\r' || text[i - 1] == '\n';
}

// A "[section]" header at position i (which holds the "[").
bool headerAt(std::string_view file, std::size_t i, std::string_view section) {
  const std::size_t close = i + 1 + section.size();
  return file[i] == '[' && close < file.size() && file[close] == ']' &&
         equalsIgnoreCase(file.substr(i + 1, section.size()), section);
}

}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upperCase(a[i]) != upperCase(b[i])) return false;
  }
  return true;
}

std::string expandLoneCR(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out.push_back(text[i]);
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) out.push_back('\n');
  }
  return out;
}

void trimLineEnd(std::string& text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
}

std::string sectionText(std::string_view file, std::string_view section) {
  const std::string header = "[" + std::string(section) + "]";
  std::string result;
  bool inSection = false;
  bool anyLine = false;
  std::size_t pos = 0;
  while (pos < file.size()) {
    const std::size_t end = file.find_first_of("\r\n", pos);
    std::string_view line;
    if (end == std::string_view::npos) {
      line = file.substr(pos);
      pos = file.size();
    } else {
      line = file.substr(pos, end - pos);
      pos = (file[end] == '\r' && end + 1 < file.size() && file[end + 1] == '\n') ? end + 2 : end + 1;
    }
    if (!inSection) {
      inSection = line.size() >= header.size() && equalsIgnoreCase(line.substr(0, header.size()), header);
      continue;
    }
    if (!line.empty() && line[0] == '[') {
      if (anyLine) result.resize(result.size() - 2);
      break;
    }
    if (result.size() + 1 + line.size() > sectionTextLimit) break;
    result.append(line);
    result.append("\r\n");
    anyLine = true;
  }
  return result;
}

std::string withSection(std::optional<std::string_view> file, std::string_view section,
                        std::string_view text) {
  const std::string header = "[" + std::string(section) + "]\r\n";
  const std::string body = expandLoneCR(text);
  if (!file) return header + body;

  const std::string_view f = *file;
  std::size_t start = std::string_view::npos;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (isLineStart(f, i) && headerAt(f, i, section)) {
      start = i;
      break;
    }
  }
  if (start == std::string_view::npos) return std::string(f) + "\r\n" + header + body;

  // The remainder keeps the line end that closed the old section, so the next header stays
  // on a line of its own.
  std::size_t rest = f.size();
  for (std::size_t i = start + 1; i < f.size(); ++i) {
    if (f[i] == '[' && (f[i - 1] == '\r' || f[i - 1] == '\n')) {
      rest = i - 1;
      if (f[rest] == '\n' && rest > start && f[rest - 1] == '\r') --rest;
      break;
    }
  }
  std::string out(f.substr(0, start));
  out += header;
  out += body;
  out += f.substr(rest);
  return out;
}

std::string paramPathIn(std::string_view windowsDirectory) {
  std::string path(windowsDirectory);
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  path += "PARAM.CMI";
  return path;
}

std::string resolvedFilePath(std::string_view launchDirectory, std::string_view name) {
  auto isSlash = [](char c) { return c == '\\' || c == '/'; };
  auto hasDrive = [](std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  };
  if (name.empty() || launchDirectory.empty()) return std::string(name);
  std::string_view rest = name;
  if (isSlash(name[0])) {
    if (name.size() >= 2 && isSlash(name[1])) return std::string(name);
    // The root of the launch directory's drive, or of its share.
    if (hasDrive(launchDirectory)) return std::string(launchDirectory.substr(0, 2)) + std::string(name);
    if (launchDirectory.size() >= 2 && isSlash(launchDirectory[0]) && isSlash(launchDirectory[1])) {
      std::size_t share = launchDirectory.find_first_of("\\/", 2);
      if (share != std::string_view::npos) share = launchDirectory.find_first_of("\\/", share + 1);
      return std::string(launchDirectory.substr(0, share)) + std::string(name);
    }
    return std::string(name);
  }
  if (hasDrive(name)) {
    if (name.size() >= 3 && isSlash(name[2])) return std::string(name);
    const bool sameDrive = hasDrive(launchDirectory) && (launchDirectory[0] | 0x20) == (name[0] | 0x20);
    if (!sameDrive) return std::string(name);
    rest = name.substr(2);
  }
  std::string path(launchDirectory);
  if (!isSlash(path.back())) path.push_back('\\');
  path += rest;
  return path;
}

std::int32_t decimalValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Past the 32-bit range the digits no longer matter: the result is the limit.
    if (value <= (std::int64_t{1} << 32)) value = value * 10 + (text[i] - '0');
  }
  return clampToInt32(negative ? -value : value);
}

std::int32_t timeToSeconds(std::string_view text) {
  const std::int64_t h = decimalValue(text);
  std::int64_t m = 0;
  std::int64_t s = 0;
  const std::size_t first = text.find(':');
  if (first != std::string_view::npos) {
    m = decimalValue(text.substr(first + 1));
    const std::size_t second = text.find(':', first + 1);
    if (second != std::string_view::npos) s = decimalValue(text.substr(second + 1));
  }
  return clampToInt32(h * 3600 + m * 60 + s);
}

std::string secondsToTime(std::int32_t seconds) {
  const long long h = seconds / 3600;
  const long long m = seconds / 60 - 60 * h;
  const long long s = seconds % 60;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", h, m, s);
  return buffer;
}

bool statusHasLetter(std::string_view status, char letter) {
  for (std::size_t i = 0; i < status.size(); ++i) {
    if ((i == 0 || !isLetter(status[i - 1])) && upperCase(status[i]) == letter) return true;
  }
  return false;
}

std::string statusSetLetter(std::string_view status, char letter, std::string_view set) {
  std::string s(status);
  bool wordStart = true;
  std::size_t found = std::string::npos;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (wordStart && isLetter(s[i]) && set.find(upperCase(s[i])) != std::string_view::npos) {
      found = i;
      break;
    }
    if (isLetter(s[i])) {
      wordStart = false;
    } else if (s[i] == ',') {
      wordStart = true;
    }
  }
  if (found != std::string::npos) {
    std::size_t end = found;
    while (end < s.size() && isLetter(s[end])) ++end;
    while (end < s.size() && !isLetter(s[end])) ++end;
    s.erase(found, end - found);
  }
  if (!s.empty() && isLetter(s.back())) s.push_back(',');
  s.push_back(letter);
  return s;
}

std::string numberedKey(std::string_view name, std::int32_t number) {
  return std::string(name) + "." + std::to_string(number);
}

std::string commentEntry(std::int32_t index, std::string_view comment) {
  const std::string number = std::to_string(index);
  std::string formatted = "<" + number + ">";
  formatted += comment;
  formatted += "<e." + number + ">";
  std::string out;
  out.reserve(formatted.size() + 16);
  for (char c : formatted) {
    if (c == '\r') {
      out += "<cr>";
    } else if (c != '\n') {
      out.push_back(c);
    }
  }
  return out;
}

std::vector<std::string> customTokens(std::string_view customData) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < customData.size() && tokens.size() < customTokenLimit) {
    const std::size_t start = customData.find_first_not_of("=\r\n", i);
    if (start == std::string_view::npos) break;
    std::size_t end = customData.find_first_of("=\r\n", start);
    if (end == std::string_view::npos) end = customData.size();
    tokens.emplace_back(customData.substr(start, end - start));
    i = end;
  }
  return tokens;
}

std::string quotedField(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string interactionHeader(const std::vector<std::string>& customTokens) {
  static constexpr const char* names[] = {"course_id",
                                          "student_id",
                                          "lesson_id",
                                          "date",
                                          "time",
                                          "interaction_id",
                                          "objective_id",
                                          "type_interaction",
                                          "correct_response",
                                          "student_response",
                                          "result",
                                          "weighting",
                                          "latency"};
  std::string line;
  for (const char* name : names) {
    if (!line.empty()) line.push_back(',');
    line += quotedField(name);
  }
  for (std::size_t i = 0; i < customTokens.size(); i += 2) line += "," + quotedField(customTokens[i]);
  line += "\r\n";
  return line;
}

std::string interactionLine(const InteractionRecord& r, const std::vector<std::string>& customTokens) {
  const std::string_view fields[] = {r.courseId,
                                     r.studentId,
                                     "",
                                     r.date,
                                     r.time,
                                     r.interactionId,
                                     r.objectiveId,
                                     r.type,
                                     r.correctResponse,
                                     r.studentResponse,
                                     r.result,
                                     r.weighting,
                                     r.latency};
  std::string line;
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) line.push_back(',');
    first = false;
    line += quotedField(field);
  }
  // A name without a value (an odd count of tokens) still gets its column, empty.
  for (std::size_t i = 0; i < customTokens.size(); i += 2) {
    line += "," + quotedField(i + 1 < customTokens.size() ? std::string_view(customTokens[i + 1])
                                                          : std::string_view());
  }
  line += "\r\n";
  return line;
}

}  // namespace lmint
