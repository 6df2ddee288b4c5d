// The text rules of the AICC exchange: free-text sections of INI-layout files, status words,
// times, comments and interaction records. Bytes in, bytes out: the file and host shells of
// the Xtra call these, and they build and are tested without any Windows header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lmint {

// A section read stops before its accumulated text would pass this many bytes.
inline constexpr std::size_t sectionTextLimit = 30000;
// Custom data of an interaction gives at most this many name and value tokens.
inline constexpr std::size_t customTokenLimit = 100;

inline constexpr std::string_view lessonStatusLetters = "NICPF";
inline constexpr std::string_view exitLetters = "LT";

bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Every CR that no LF follows gets one, so a text typed with lone CRs is stored with CR LF.
std::string expandLoneCR(std::string_view text);
// Removes every CR and LF at the end of the text.
void trimLineEnd(std::string& text);

// The lines of the section, each followed by CR LF, except that the CR LF after the last line
// is dropped when the next section header ends the reading. Lines end at CR LF, CR or LF. A
// header is a line that begins with "[" + section + "]" in any letter case. A section that is
// not there gives the empty text.
std::string sectionText(std::string_view file, std::string_view section);

// The bytes of the file with the section's body replaced by text (lone CRs expanded), or the
// section added at the end when the file has none; nullopt stands for a file that does not
// exist yet. Only a "[section]" at the start of a line is a header, so the same words inside
// a value never move the cut.
std::string withSection(std::optional<std::string_view> file, std::string_view section,
                        std::string_view text);

// The launch file's path in the given Windows directory.
std::string paramPathIn(std::string_view windowsDirectory);

// The full path of a file that the launch file names, against the launch file's directory
// (with or without its closing backslash). Absolute names (C:\x, \\server\share\x) stay as
// they are; a name on the root of no drive (\x) goes on the directory's drive; a name relative
// to a drive's current directory (C:x) is taken in the launch file's directory when that is on
// the same drive, else left alone; every other name is joined to the directory. The empty
// name stays empty: no file.
std::string resolvedFilePath(std::string_view launchDirectory, std::string_view name);

// The standard library's atol: leading white space, an optional sign, the digits up to the
// first other character, 0 without digits; beyond the 32-bit range the nearest limit.
std::int32_t decimalValue(std::string_view text);

// "h:m:s" (missing parts 0) to seconds, kept inside the 32-bit range.
std::int32_t timeToSeconds(std::string_view text);
// Seconds as "hh:mm:ss", hours not limited.
std::string secondsToTime(std::int32_t seconds);

// A word whose first letter is the letter (upper case), at the start of the status or right
// after a character that is not a letter.
bool statusHasLetter(std::string_view status, char letter);
// Replaces the first word whose first letter is in the set by the letter (in the case given),
// appended as the last word.
std::string statusSetLetter(std::string_view status, char letter, std::string_view set);

// "J_ID.7": a key with its number.
std::string numberedKey(std::string_view name, std::int32_t number);

// "<3>first<cr>second<e.3>": one comment of the [comments] section, always a single line.
std::string commentEntry(std::int32_t index, std::string_view comment);

// Name and value tokens of an interaction's custom data (name=value items, one per line).
std::vector<std::string> customTokens(std::string_view customData);

struct InteractionRecord {
  std::string courseId;
  std::string studentId;
  std::string date;
  std::string time;
  std::string interactionId;
  std::string objectiveId;
  std::string type;
  std::string correctResponse;
  std::string studentResponse;
  std::string result;
  std::string weighting;
  std::string latency;
};

// A field in double quotes; a double quote inside is doubled so the record stays one record.
std::string quotedField(std::string_view text);
// The header line of a new interactions file, with one extra column per custom item.
std::string interactionHeader(const std::vector<std::string>& customTokens);
// One record line; custom values follow the 13 fields in the order of their names.
std::string interactionLine(const InteractionRecord& record, const std::vector<std::string>& customTokens);

}  // namespace lmint
