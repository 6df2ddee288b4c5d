// The texts that the program, association and variable exports take apart or build: shell
// result codes, document directories, shortcut specifications, association commands and
// variable-name lists. Pure: the exports hand the results to the platform.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/host/message_table.h"

namespace rxsystem {

// The message for a failed shell document request (a code of 32 or less); the file name is
// its first value and, for kShellOtherError, the code its second.
MessageId ShellErrorMessage(intptr_t code);

// The directory a document or program runs in: the name cut after its last '\' (or ':'),
// without the closing backslash unless that would leave a bare drive. Empty for a bare name,
// where the current directory applies. C:\Docs\a.txt -> C:\Docs, C:\a.txt -> C:\, C:a -> C:
std::string DocumentDirectory(std::string_view fileName);

// One line of a shortcut specification: Description TAB ExePath TAB Args TAB StartDir TAB
// IconPath, trailing fields optional.
struct IconSpec {
  std::string description;
  std::string exePath;
  std::string args;
  std::string startDir;
  std::string iconPath;
};

// The lines before the first invalid one, in order; `invalid` tells that a line stopped the
// scan: one with a fifth TAB, or one whose Description is empty although it has other fields
// (it would name the shortcut file ".lnk"). Lines end at CR; the last needs none; lines with
// nothing at all on them are passed over.
struct IconSpecScan {
  std::vector<IconSpec> specs;
  bool invalid = false;
};
IconSpecScan ScanIconSpecs(std::string_view text);

// The registry and profile texts that register a document type.
// The extension's key: FileExtension as given when it starts with '.', else with one added.
std::string ExtensionKeyName(std::string_view fileExtension);
// "%s,%d" of the icon file and number.
std::string DefaultIconValue(std::string_view iconFileName, int32_t iconNumber);
// A program path as the head of a command line: between double quotes when it holds a blank
// and is not quoted already, else as given. The platform splits an unquoted command at its
// blanks and runs the first piece that names a program, so C:\Program Files\x.exe would
// start C:\Program.exe when there is one.
std::string QuotedProgramPath(std::string_view program);
// "%s %s" of the program and the parameters; without parameters the document itself is
// passed quoted: program "%1". The program is quoted as above.
std::string OpenCommandValue(std::string_view fileName, std::string_view openParams);
std::string PrintCommandValue(std::string_view fileName, std::string_view printParams);
// The "Extensions" entry of WIN.INI: key without the dot, value "program ^.ext", the program
// quoted as above (the shell runs the entry as a command line too).
std::string ExtensionsProfileKey(std::string_view extensionKey);
std::string ExtensionsProfileValue(std::string_view fileName, std::string_view extensionKey);

// The host-variable names of a list saved to an INI section: CR-separated, a CR after the
// last name optional; empty names (two CRs in a row) name nothing and are left out.
std::vector<std::string_view> VariablesToSave(std::string_view list);

// The names a load goes through, from a CR-separated list or from the NUL-separated key
// list of a section: in order up to the first empty name or the end of the text.
std::vector<std::string_view> VariablesToLoad(std::string_view names, char separator);

}  // namespace rxsystem
