#include "system_services/programs/program_texts.h"

#include <array>

namespace rxsystem {

MessageId ShellErrorMessage(intptr_t code) {
  struct Row {
    intptr_t code;
    MessageId id;
  };
  static constexpr std::array<Row, 9> kRows{{
      {0, kShellOutOfMemory},
      {2, kShellFileNotFound},
      {3, kShellPathNotFound},
      {5, kShellSharingError},
      {8, kShellNoMemoryToStart},
      {11, kShellNotWindowsApplication},
      {14, kShellUnknownType},
      {20, kShellInvalidComponent},
      {31, kShellNoAssociation},
  }};
  for (const Row& r : kRows)
    if (r.code == code) return r.id;
  return kShellOtherError;
}

std::string DocumentDirectory(std::string_view fileName) {
  size_t cut = fileName.find_last_of('\\');
  if (cut == std::string_view::npos) {
    size_t colon = fileName.find_last_of(':');
    // C:a.txt runs on drive C's current directory.
    return colon == std::string_view::npos ? std::string() : std::string(fileName.substr(0, colon + 1));
  }
  // The root of a drive keeps its backslash: C: alone would mean the drive's current
  // directory, not its root.
  if (cut == 2 && fileName[1] == ':') return std::string(fileName.substr(0, 3));
  // A name in the root of the current drive (\a.txt) runs in that root.
  if (cut == 0) return std::string("\\");
  return std::string(fileName.substr(0, cut));
}

IconSpecScan ScanIconSpecs(std::string_view text) {
  IconSpecScan scan;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\r', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;

    std::array<std::string_view, 5> fields{};
    size_t field = 0;
    size_t fieldStart = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
      if (i < line.size() && line[i] != '\t') continue;
      if (field == fields.size()) {
        scan.invalid = true;
        return scan;
      }
      fields[field++] = line.substr(fieldStart, i - fieldStart);
      fieldStart = i + 1;
    }
    if (fields[0].empty()) {
      scan.invalid = true;
      return scan;
    }
    scan.specs.push_back(IconSpec{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                                  std::string(fields[3]), std::string(fields[4])});
  }
  return scan;
}

std::string ExtensionKeyName(std::string_view fileExtension) {
  if (!fileExtension.empty() && fileExtension[0] == '.') return std::string(fileExtension);
  return "." + std::string(fileExtension);
}

std::string DefaultIconValue(std::string_view iconFileName, int32_t iconNumber) {
  return std::string(iconFileName) + "," + std::to_string(iconNumber);
}

std::string QuotedProgramPath(std::string_view program) {
  const bool quoted = !program.empty() && program.front() == '"';
  if (quoted || program.find_first_of(" \t") == std::string_view::npos) return std::string(program);
  return "\"" + std::string(program) + "\"";
}

std::string OpenCommandValue(std::string_view fileName, std::string_view openParams) {
  if (openParams.empty()) return QuotedProgramPath(fileName) + " \"%1\"";
  return QuotedProgramPath(fileName) + " " + std::string(openParams);
}

std::string PrintCommandValue(std::string_view fileName, std::string_view printParams) {
  return QuotedProgramPath(fileName) + " " + std::string(printParams);
}

std::string ExtensionsProfileKey(std::string_view extensionKey) {
  return std::string(extensionKey.substr(extensionKey.empty() ? 0 : 1));
}

std::string ExtensionsProfileValue(std::string_view fileName, std::string_view extensionKey) {
  return QuotedProgramPath(fileName) + " ^" + std::string(extensionKey);
}

std::vector<std::string_view> VariablesToSave(std::string_view list) {
  std::vector<std::string_view> names;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\r', start);
    if (end == std::string_view::npos) end = list.size();
    if (end > start) names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::vector<std::string_view> VariablesToLoad(std::string_view names, char separator) {
  std::vector<std::string_view> result;
  size_t start = 0;
  while (start < names.size()) {
    size_t end = names.find(separator, start);
    if (end == std::string_view::npos) end = names.size();
    if (end == start) break;
    result.push_back(names.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

}  // namespace rxsystem
