// Whatever text a piece types or passes: file-type lists, directories, names, typed paths and
// the platform's multiple-selection answers stay inside their buffers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "system_services/chooser_rules.h"
#include "system_services/file_dialog_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rxsystem;
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* s = text.c_str();  // up to its first NUL, as the host passes it
  std::string_view view(s);

  std::vector<char> filter(FilterListBytes(s));
  WriteFilterList(s, filter.data());
  char buffer[260];
  KeepDialogDirectory(s, buffer, sizeof buffer);
  char proposed[260];
  ProposeSaveName(buffer, s + view.size() / 2, proposed, sizeof proposed);
  CheckPathText(view, true, true);
  CheckFolderName(s);
  size_t half = view.size() / 2;
  char full[260];
  if (ComposeTypedPath(view.substr(0, half), view.substr(half), full, sizeof full)) CheckPathText(full, true, true);
  std::string current(view.substr(0, half));
  PathCutForLevel(current, DriveRootLength(current), static_cast<unsigned>(size % 7));
  DriveEntryMatches(view.substr(half), current, DrivePartLength(current) + 1);
  std::string label(view);
  CapitalizeLabel(label.data());
  RecentNetworkName(label.data());

  // The answer buffer as the platform leaves it: any bytes, NULs included.
  std::vector<char> answer(text.begin(), text.end());
  answer.push_back('\0');
  LowerFirstPart(answer.data());
  JoinSelectedParts(answer.data(), answer.size());
  return 0;
}
