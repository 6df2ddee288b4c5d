// Whatever text a piece types or passes: file-type lists, directories, names, typed paths,
// folder names to sort and the platform's multiple-selection answers. Each stays inside its
// buffer and gives what its rule says: a refused text leaves its buffer as it was, a copied
// one is the text, and folder names sort in one consistent order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/dialogs/chooser_rules.h"
#include "system_services/dialogs/file_dialog_rules.h"

namespace {

using namespace rxsystem;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

bool Forbidden(char c, const char* set) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u < 32 || u >= 128 || std::strchr(set, c) != nullptr;
}

int Sign(int v) { return (v > 0) - (v < 0); }

void CheckFilter(const char* s, std::string_view view) {
  std::vector<char> filter(FilterListBytes(s));
  WriteFilterList(s, filter.data());
  if (view.empty()) {
    Check(std::string_view(filter.data(), filter.size()) ==
          std::string_view("All Files (*.*)\0*.*\0\0\0\0\0\0", 25));
    return;
  }
  Check(filter.size() == view.size() + 2 && filter[view.size()] == '\0' && filter[view.size() + 1] == '\0');
  for (size_t i = 0; i < view.size(); ++i)
    Check(filter[i] == ((view[i] == '\t' || view[i] == '\r') ? '\0' : view[i]));
}

void CheckDialogTexts(const char* s, std::string_view view) {
  char buffer[260];
  const bool kept = KeepDialogDirectory(s, buffer, sizeof buffer);
  Check(kept == (!view.empty() && view.size() < sizeof buffer));
  if (kept) {
    Check(std::string_view(buffer) == (view.ends_with('\\') ? view.substr(0, view.size() - 1) : view));
  } else {
    Check(buffer[0] == '\0');
  }
  const char* name = s + view.size() / 2;
  const std::string_view n(name), d(buffer);
  char proposed[260];
  ProposeSaveName(buffer, name, proposed, sizeof proposed);
  std::string expected = "*.*";
  if (!n.empty() && !d.empty() && d.size() + 1 + n.size() < sizeof proposed) {
    expected = std::string(d) + "\\" + std::string(n);
  } else if (!n.empty() && n.size() < sizeof proposed) {
    expected = n;
  }
  Check(std::string_view(proposed) == expected);
}

void CheckPathRules(std::string_view path, bool requireDrive, bool requireAbsolute) {
  const PathShape shape = ClassifyPath(path);
  const RuleBreak r = CheckPathText(path, requireDrive, requireAbsolute);
  Check(r.id == 0 || r.id == 15 || r.id == 20 || r.id == 21 || r.id == 22);
  if (r.id == 20) Check(requireDrive && !shape.hasDrive);
  if (r.id == 21) Check(requireAbsolute && !shape.absolute && (!requireDrive || shape.hasDrive));
  if (r.id == 20 || r.id == 21) return;
  Check(!(requireDrive && !shape.hasDrive) && !(requireAbsolute && !shape.absolute));
  bool sawDouble = false;
  for (size_t i = shape.scanFrom; i < path.size(); ++i) {
    if (Forbidden(path[i], "\"<>:/|?*")) {
      // The first break in the path is the one reported.
      Check(r.id == 15 && r.character == path[i]);
      return;
    }
    if (path[i] == '\\' && i > 0 && path[i - 1] == '\\') sawDouble = true;
    if (sawDouble) {
      Check(r.id == 22);
      return;
    }
  }
  Check(r.id == 0);
  const size_t root = DriveRootLength(path);
  Check(root == (shape.hasDrive && path.size() >= 2 && path[1] == ':' ? (shape.absolute ? 3u : 2u) : 0u));
  Check(DrivePartLength(path) <= path.size());
}

void CheckFolderRules(const char* name, std::string_view view) {
  const RuleBreak r = CheckFolderName(name);
  const size_t looked = std::min<size_t>(view.size(), kLongestFolderName + 1);
  for (size_t i = 0; i < looked; ++i) {
    if (Forbidden(view[i], "\"*/:<>?\\|")) {
      Check(r.id == 15 && r.character == view[i]);
      return;
    }
  }
  Check(r.id == (view.size() > static_cast<size_t>(kLongestFolderName) ? 17 : 0));
}

void CheckTypedPath(std::string_view current, std::string_view typed) {
  char full[260];
  std::memset(full, '#', sizeof full);
  const bool whole = typed.starts_with("\\\\") || (typed.size() >= 2 && typed[1] == ':');
  const std::string drive(whole ? std::string_view() : current.substr(0, DrivePartLength(current)));
  const bool slash = !whole && !typed.starts_with('\\');
  const std::string expected = drive + (slash ? "\\" : "") + std::string(typed);
  const bool composed = ComposeTypedPath(current, typed, full, sizeof full);
  Check(composed == (expected.size() < sizeof full));
  if (composed) {
    Check(std::string_view(full, expected.size() + 1) ==
          std::string_view(expected.c_str(), expected.size() + 1));
  } else {
    Check(std::all_of(full, full + sizeof full, [](char c) { return c == '#'; }));
  }
}

void CheckLevels(std::string_view path, std::string_view entry) {
  const size_t root = DriveRootLength(path);
  size_t previous = 0;
  for (unsigned level = 0; level < 6; ++level) {
    const size_t cut = PathCutForLevel(path, root, level);
    Check(cut <= path.size() && cut >= std::min(root, path.size()) && cut >= previous);
    if (level > 0 && cut > std::min(root, path.size())) Check(cut == path.size() || path[cut] == '\\');
    previous = cut;
  }
  const size_t rootLength = DrivePartLength(path) + 1;
  const size_t n = rootLength - 1;
  const bool matches =
      entry.size() >= n && path.size() >= n && Lower(entry.substr(0, n)) == Lower(path.substr(0, n));
  Check(DriveEntryMatches(entry, path, rootLength) == matches);
}

void CheckLabels(std::string_view view) {
  std::string label(view);
  CapitalizeLabel(label.data());
  for (size_t i = 0; i < view.size(); ++i)
    Check(label[i] == (i == 0 ? UpperAscii(view[i]) : LowerAscii(view[i])));
  std::string network(view);
  RecentNetworkName(network.data());
  std::string expected;
  for (size_t i = 0; i < view.size(); ++i) {
    if (view.substr(i, 2) == "./") {
      expected.push_back('\\');
      ++i;
    } else {
      expected.push_back(view[i]);
    }
  }
  Check(std::string_view(network.c_str()) == expected);
}

// Both lists sort by this order: it must agree with the lower-case byte order, and so be
// antisymmetric and transitive, or the sorted lists come out in an order that depends on
// where the names started.
void CheckFolderOrder(std::string_view a, std::string_view b, std::string_view c) {
  const int ab = CompareFolderNames(a, b);
  Check(ab == -1 || ab == 0 || ab == 1);
  Check(ab == Sign(Lower(a).compare(Lower(b))));
  Check(CompareFolderNames(b, a) == -ab);
  Check(CompareFolderNames(a, a) == 0);
  const int bc = CompareFolderNames(b, c), ac = CompareFolderNames(a, c);
  if (ab <= 0 && bc <= 0) Check(ac <= 0);
  if (ab == 0 && bc == 0) Check(ac == 0);
}

void CheckAnswer(const std::string& text) {
  // The answer buffer as the platform leaves it: any bytes, NULs included.
  std::vector<char> answer(text.begin(), text.end());
  answer.push_back('\0');
  const std::vector<char> before = answer;
  LowerFirstPart(answer.data());
  const size_t first = std::strlen(before.data());
  for (size_t i = 0; i < answer.size(); ++i) {
    const char c = before[i];
    Check(answer[i] == (i < first && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c));
  }
  const std::vector<char> lowered = answer;
  const size_t length = JoinSelectedParts(answer.data(), answer.size());
  Check(length < answer.size() && answer[length] == '\0');
  // The parts up to the first empty one, each NUL after them a CR; nothing after them touched.
  for (size_t i = 0; i < length; ++i) Check(answer[i] == (lowered[i] == '\0' ? '\r' : lowered[i]));
  Check(std::equal(answer.begin() + static_cast<std::ptrdiff_t>(length) + 1, answer.end(),
                   lowered.begin() + static_cast<std::ptrdiff_t>(length) + 1));
  Check(length == 0 || answer[length - 1] == '\r' || length == answer.size() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* s = text.c_str();  // up to its first NUL, as the host passes it
  std::string_view view(s);

  CheckFilter(s, view);
  CheckDialogTexts(s, view);
  CheckPathRules(view, size & 1, size & 2);
  CheckFolderRules(s, view);
  const size_t half = view.size() / 2;
  std::string current(view.substr(0, half));
  CheckTypedPath(current, view.substr(half));
  CheckLevels(current, view.substr(half));
  CheckLabels(view);
  const size_t third = view.size() / 3;
  CheckFolderOrder(view.substr(0, third), view.substr(third, third), view.substr(2 * third));
  CheckAnswer(text);
  return 0;
}
