#include "system_services/dialogs/directory_chooser.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "system_services/host/center_window.h"
#include "system_services/dialogs/chooser_rules.h"
#include "system_services/host/host_interface.h"

namespace rxsystem {
namespace {

DirChooserState State{};

DWORD PlatformNetworkUser(char* name, DWORD* size) { return WNetGetUserA(nullptr, name, size); }
NetworkUserQuery CurrentNetworkUser = PlatformNetworkUser;

// Entry texts are paths, folder names and drive labels: none is longer than a path buffer,
// and a longer one is read as empty rather than past the buffer.
constexpr size_t kEntryText = kPathBuffer + 8;

bool ListText(HWND list, int index, char* text) {
  text[0] = '\0';
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR || length >= static_cast<LRESULT>(kEntryText)) return false;
  return SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text)) != LB_ERR;
}

bool ComboText(HWND combo, int index, char* text) {
  text[0] = '\0';
  LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length >= static_cast<LRESULT>(kEntryText)) return false;
  return SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) != CB_ERR;
}

uint32_t ListData(HWND list, int index) {
  return static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, index, 0));
}

int AddDriveEntry(const char* text, unsigned kind) {
  LRESULT at = SendMessageA(State.driveList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (at >= 0) SendMessageA(State.driveList, CB_SETITEMDATA, at, EntryData(kind, 0));
  return static_cast<int>(at);
}

bool EndsWithSlash(const char* path) {
  size_t n = std::strlen(path);
  return n > 0 && path[n - 1] == '\\';
}

// Appends a backslash (when needed) and the name; false, with the path unchanged and the
// length message shown, when the result would not fit.
bool AppendName(char* path, const char* name) {
  size_t n = std::strlen(path);
  bool slash = n > 0 && path[n - 1] != '\\';
  size_t length = n + (slash ? 1 : 0) + std::strlen(name);
  if (length >= kPathBuffer) {
    VeruErrorBox(kPathTooLong);
    return false;
  }
  if (slash) path[n++] = '\\';
  std::strcpy(path + n, name);
  return true;
}

void CopyPath(char* to, const char* from) {
  size_t n = strnlen(from, kPathBuffer - 1);
  std::memmove(to, from, n);
  to[n] = '\0';
}

void UseCurrentDirectory() {
  DWORD n = GetCurrentDirectoryA(kPathBuffer, State.currentPath);
  if (n == 0 || n >= kPathBuffer) std::strcpy(State.currentPath, "C:\\");
}

void Redraw(bool on) { SendMessageA(State.folderList, WM_SETREDRAW, on ? TRUE : FALSE, 0); }

void ShowCurrentPath() {
  Redraw(true);
  InvalidateRect(State.folderList, nullptr, TRUE);
  SetWindowTextA(State.edit, State.currentPath);
}

void Refresh() {
  Redraw(false);
  int index = 0;
  unsigned level = 0;
  FillFolderPath(index, level);
  FillSubfolders(index, level);
  ShowCurrentPath();
}

void DeleteGlyphs() {
  State.glyphs.reset();
  State.mask.reset();
}

void SetUp(HWND dialog, DirDialogRecord* record) {
  // The procedure is exported: a caller without a record gets a chooser that writes nothing.
  static DirDialogRecord none{0, nullptr, nullptr};
  if (!record) record = &none;
  State.record = record;
  State.newFolder = record->newFolder;
  if (State.newFolder == 0) ShowWindow(GetDlgItem(dialog, kNewFolderButton), SW_HIDE);
  SetWindowTextA(dialog, record->title ? record->title : "");
  CopyPath(State.currentPath, record->path ? record->path : "");
  State.folderList = GetDlgItem(dialog, kFolderList);
  State.driveList = GetDlgItem(dialog, kDriveList);
  State.edit = GetDlgItem(dialog, kPathEdit);
  State.previousListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(State.folderList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));

  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    char root[4] = {letter, ':', '\\', '\0'};
    char label[256];
    int offset = DescribeDrive(root, label);
    if (offset < 0) continue;
    char text[kEntryText];
    std::snprintf(text, sizeof text, "%c: %s", letter, label);
    AddDriveEntry(text, static_cast<unsigned>(offset) + kFirstDriveGlyph);
  }
  AddRecentNetwork();

  DeleteGlyphs();
  State.glyphs.reset(static_cast<HBITMAP>(
      LoadImageA(ModuleInstance, MAKEINTRESOURCEA(kChooserGlyphs), IMAGE_BITMAP, 0, 0, 0)));
  if (State.glyphs) {
    State.mask.reset(MakeMaskBitmap(forms::WindowDC(dialog).get(), State.glyphs.get(), kGlyphBackground,
                                    kGlyphSize * kGlyphCount, kGlyphSize));
    if (!State.mask) DeleteGlyphs();
  }

  bool exists = false;
  bool isDirectory = false;
  if (!ValidatePath(State.currentPath, true, true, nullptr, &exists, &isDirectory) || !exists || !isDirectory)
    UseCurrentDirectory();
  FindRootLength();
  Refresh();
  CenterWindow(dialog);
}

void Measure(HWND dialog, MEASUREITEMSTRUCT* item) {
  TEXTMETRICA metrics{};
  {
    forms::WindowDC dc(dialog);
    if (!dc) return;
    int height = -(GetDeviceCaps(dc.get(), LOGPIXELSY) * 8) / 72;
    forms::UniqueGdiObject<HFONT> font(
        CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    forms::SelectionGuard selected(dc.get(), font.get());
    GetTextMetricsA(dc.get(), &metrics);
  }
  int h = metrics.tmHeight + metrics.tmExternalLeading;
  if (h < kGlyphSize) h = kGlyphSize;
  State.itemHeight = h + 2;
  State.textOffset = (h + 2 - metrics.tmHeight) / 2;
  item->itemHeight = static_cast<UINT>(State.itemHeight);
}

void Draw(const DRAWITEMSTRUCT* item) {
  bool folders = item->CtlID == kFolderList;
  if (item->itemID != static_cast<UINT>(-1)) {
    char text[kEntryText];
    uint32_t data;
    if (folders) {
      ListText(item->hwndItem, static_cast<int>(item->itemID), text);
      data = ListData(item->hwndItem, static_cast<int>(item->itemID));
    } else {
      ComboText(item->hwndItem, static_cast<int>(item->itemID), text);
      data = static_cast<uint32_t>(SendMessageA(item->hwndItem, CB_GETITEMDATA, item->itemID, 0));
    }
    unsigned kind = FolderEntryKind(data);
    unsigned level = FolderEntryLevel(data);
    if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS)) {
      // A selected entry of a control without the focus keeps the normal colours.
      bool highlight = (item->itemState & ODS_SELECTED) && (item->itemState & ODS_FOCUS);
      COLORREF oldText = 0;
      COLORREF oldBack = 0;
      if (highlight) {
        oldText = SetTextColor(item->hDC, GetSysColor(COLOR_HIGHLIGHTTEXT));
        oldBack = SetBkColor(item->hDC, GetSysColor(COLOR_HIGHLIGHT));
      }
      int indent = folders ? static_cast<int>(8 * level + 2) : 2;
      const RECT& r = item->rcItem;
      ExtTextOutA(item->hDC, r.left + indent + 18, r.top + State.textOffset, ETO_OPAQUE, &r, text,
                  static_cast<UINT>(std::strlen(text)), nullptr);
      if (State.glyphs && State.mask) {
        unsigned glyph = (kind & 0x7FFF) % kGlyphCount;
        DrawMaskedGlyph(item->hDC, State.glyphs.get(), State.mask.get(), static_cast<int>(glyph) * kGlyphSize,
                        r.left + indent, r.top);
      }
      if (highlight) {
        SetTextColor(item->hDC, oldText);
        SetBkColor(item->hDC, oldBack);
      }
    }
  }
  if ((item->itemAction & ODA_FOCUS) && (item->itemState & ODS_FOCUS))
    DrawFocusRect(item->hDC, &item->rcItem);
}

void OpenFolderEntry() {
  int index = static_cast<int>(SendMessageA(State.folderList, LB_GETCURSEL, 0, 0));
  if (index < 0) return;
  char text[kEntryText];
  if (!ListText(State.folderList, index, text)) return;
  uint32_t data = ListData(State.folderList, index);
  unsigned kind = FolderEntryKind(data);
  unsigned level = FolderEntryLevel(data);
  if (kind == kClosedFolderGlyph) {
    char path[kPathBuffer];
    CopyPath(path, State.currentPath);
    if (!AppendName(path, text)) return;
    Redraw(false);
    for (int i = static_cast<int>(SendMessageA(State.folderList, LB_GETCOUNT, 0, 0)) - 1; i >= 0; --i) {
      if (FolderEntryLevel(ListData(State.folderList, i)) >= level)
        SendMessageA(State.folderList, LB_DELETESTRING, i, 0);
    }
    int added =
        static_cast<int>(SendMessageA(State.folderList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    SendMessageA(State.folderList, LB_SETCURSEL, added, 0);
    std::strcpy(State.currentPath, path);
    FillSubfolders(added, level);
  } else {
    Redraw(false);
    TrimFolderList(index, level);
  }
  ShowCurrentPath();
}

void SelectDrive() {
  int index = static_cast<int>(SendMessageA(State.driveList, CB_GETCURSEL, 0, 0));
  char text[kEntryText];
  if (index < 0 || !ComboText(State.driveList, index, text) || !text[0]) return;
  if (text[0] == '\\' && text[1] == '\\') {
    // A root added for a typed network path already ends with its backslash.
    if (std::strlen(text) + (EndsWithSlash(text) ? 0 : 1) >= kPathBuffer) return;
    std::snprintf(State.currentPath, kPathBuffer, EndsWithSlash(text) ? "%s" : "%s\\", text);
  } else {
    std::snprintf(State.currentPath, kPathBuffer, "%c:\\", LowerAscii(text[0]));
  }
  State.rootLength = std::strlen(State.currentPath);
  Refresh();
}

void NewFolder(HWND dialog) {
  char name[kPathBuffer] = {};
  INT_PTR r = DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(kNewFolderDialog), dialog, NewDirDialogProc,
                              reinterpret_cast<LPARAM>(name));
  if (r == 2 || r == -1 || r == 0) return;
  char previous[kPathBuffer];
  CopyPath(previous, State.currentPath);
  if (!AppendName(State.currentPath, name)) return;
  if (CreatePathDirs(State.currentPath) != 0) {
    // The lists and the edit field still show the previous folder; so does the path again.
    CopyPath(State.currentPath, previous);
    return;
  }
  // A file of that name counts as there for CreatePathDirs, but is no folder to choose.
  DWORD attributes = GetFileAttributesA(State.currentPath);
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    VeruErrorBox(kNotADirectory, static_cast<const char*>(State.currentPath));
    CopyPath(State.currentPath, previous);
    return;
  }
  FindRootLength();
  Refresh();
  SetFocus(State.folderList);
}

INT_PTR ChooserMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetUp(dialog, reinterpret_cast<DirDialogRecord*>(lParam));
      return TRUE;
    case WM_MEASUREITEM:
      Measure(dialog, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != kFolderList && item->CtlID != kDriveList) return FALSE;
      Draw(item);
      return TRUE;
    }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_DESTROY:
      DeleteGlyphs();
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          ApplyTypedPath(State.edit, State.newFolder != 0);
          if (State.record && State.record->path) CopyPath(State.record->path, State.currentPath);
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 2);
          return TRUE;
        case kApplyButton:
          ApplyTypedPath(State.edit, State.newFolder != 0);
          return TRUE;
        case kFolderList:
          if (HIWORD(wParam) == LBN_DBLCLK) OpenFolderEntry();
          return TRUE;
        case kDriveList:
          if (HIWORD(wParam) == CBN_SELCHANGE) SelectDrive();
          return TRUE;
        case kNewFolderButton:
          if (HIWORD(wParam) == BN_CLICKED) NewFolder(dialog);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

INT_PTR NewFolderMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 2);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 2);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK) {
        char* name = reinterpret_cast<char*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (!name) {
          EndDialog(dialog, 2);
          return TRUE;
        }
        GetDlgItemTextA(dialog, kNewFolderName, name, static_cast<int>(kPathBuffer));
        if (!name[0]) {
          EndDialog(dialog, 2);
        } else if (ValidateFolderName(name)) {
          EndDialog(dialog, 1);
        }
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

DirChooserState& ChooserState() { return State; }

NetworkUserQuery ReplaceNetworkUserQuery(NetworkUserQuery query) {
  NetworkUserQuery previous = CurrentNetworkUser;
  CurrentNetworkUser = query ? query : PlatformNetworkUser;
  return previous;
}

int VeruDirectoryDialog(HWND owner, char* path, const char* title, uint32_t newFolder) {
  DirDialogRecord record{newFolder, path, title};
  INT_PTR r = DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(kChooserDialog), owner, DirDialogProc,
                              reinterpret_cast<LPARAM>(&record));
  return r == 2 ? -1 : 0;
}

int DescribeDrive(const char* root, char* label) {
  label[0] = '\0';
  const char* fallback = nullptr;
  int offset = -1;
  bool volume = false;
  switch (GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE: {
      // Named by its letter alone: asking an empty floppy drive for its label would spin it.
      char letter = UpperAscii(root[0]);
      std::strcpy(label, letter == 'A' || letter == 'B' ? "Floppy" : "Removable");
      return 0;
    }
    case DRIVE_FIXED:
      fallback = "Fixed";
      offset = 1;
      volume = true;
      break;
    case DRIVE_CDROM:
      fallback = "Cdrom";
      offset = 2;
      volume = true;
      break;
    case DRIVE_REMOTE:
      fallback = "Network";
      offset = 3;
      break;
    case DRIVE_RAMDISK:
      fallback = "Ram disk";
      offset = 4;
      volume = true;
      break;
    default:
      return -1;
  }
  bool read = false;
  // An empty CD drive must not raise the platform's "no disk" question while the list is built.
  UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  if (volume) {
    read = GetVolumeInformationA(root, label, 256, nullptr, nullptr, nullptr, nullptr, 0) != 0;
  } else {
    char local[3] = {root[0], ':', '\0'};
    DWORD size = 256;
    read = WNetGetConnectionA(local, label, &size) == NO_ERROR;
  }
  SetErrorMode(mode);
  label[255] = '\0';
  // A volume without a label is listed by its type, as one that cannot be read.
  if (!read || !label[0]) {
    std::strcpy(label, fallback);
  } else {
    CapitalizeLabel(label);
  }
  return offset;
}

int ValidatePath(const char* path, bool requireDrive, bool requireAbsolute, bool* hasDrive, bool* exists,
                 bool* isDirectory) {
  if (!path) path = "";
  std::string_view text(path);
  if (hasDrive) *hasDrive = ClassifyPath(text).hasDrive;
  RuleBreak broken = CheckPathText(text, requireDrive, requireAbsolute);
  if (broken.id == kInvalidNameCharacter) {
    VeruErrorBox(kInvalidNameCharacter, broken.character);
    return 0;
  }
  if (broken.id == kEmptyDirectoryName) {
    VeruErrorBox(kEmptyDirectoryName, path);
    return 0;
  }
  if (broken.id != 0) {
    VeruErrorBox(broken.id);
    return 0;
  }
  if (!exists && !isDirectory) return 1;
  bool found = true;
  bool directory = true;
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Only a missing file or path is missing; a denied or silent server is taken as there.
    if (IsNotFoundError(GetLastError())) found = directory = false;
  } else {
    directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  if (exists) *exists = found;
  if (isDirectory) *isDirectory = found && directory;
  return 1;
}

int ValidateFolderName(const char* name) {
  RuleBreak broken = CheckFolderName(name ? name : "");
  if (broken.id == kInvalidNameCharacter) {
    VeruErrorBox(kInvalidNameCharacter, broken.character);
    return 0;
  }
  if (broken.id == kNameTooLong) {
    VeruErrorBox(kNameTooLong, kLongestFolderName);
    return 0;
  }
  return 1;
}

void FindRootLength() {
  char* path = State.currentPath;
  if (size_t drive = DriveRootLength(path)) {
    State.rootLength = drive;
    return;
  }
  if (path[0] == '\\' && path[1] == '\\') {
    for (size_t i = 2; path[i]; ++i) {
      if (path[i] != '\\') continue;
      char kept = path[i + 1];
      path[i + 1] = '\0';
      bool missing = !PathExists(path);
      path[i + 1] = kept;
      if (!missing) {
        State.rootLength = i + 1;
        return;
      }
    }
    VeruErrorBox(kDriveRequired);
  } else {
    VeruErrorBox(kNotADirectory, static_cast<const char*>(path));
  }
  std::strcpy(path, "C:\\");
  State.rootLength = 3;
}

void FillFolderPath(int& index, unsigned& level) {
  HWND list = State.folderList;
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  std::string_view path(State.currentPath);
  size_t rootLength = State.rootLength < path.size() ? State.rootLength : path.size();
  char text[kEntryText];
  std::memcpy(text, path.data(), rootLength);
  text[rootLength] = '\0';
  index = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
  SendMessageA(list, LB_SETITEMDATA, index, EntryData(kOpenFolderGlyph, 0));
  level = 0;
  for (size_t at = rootLength; at < path.size();) {
    size_t end = path.find('\\', at);
    if (end == std::string_view::npos) end = path.size();
    if (end > at) {
      std::memcpy(text, path.data() + at, end - at);
      text[end - at] = '\0';
      ++level;
      index = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
      SendMessageA(list, LB_SETITEMDATA, index, EntryData(kOpenFolderGlyph, level));
    }
    at = end + 1;
  }
  SendMessageA(list, LB_SETCURSEL, index, 0);

  HWND drives = State.driveList;
  int count = static_cast<int>(SendMessageA(drives, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (ComboText(drives, i, text) && DriveEntryMatches(text, path, State.rootLength)) {
      SendMessageA(drives, CB_SETCURSEL, i, 0);
      return;
    }
  }
  std::memcpy(text, path.data(), rootLength);
  text[rootLength] = '\0';
  int added = AddDriveEntry(text, kNetworkGlyph);
  SendMessageA(drives, CB_SETCURSEL, added, 0);
}

void FillSubfolders(int index, unsigned level) {
  HWND list = State.folderList;
  SendMessageA(list, LB_SETITEMDATA, index, EntryData(kOpenFolderGlyph, level));
  char pattern[kPathBuffer];
  int n = std::snprintf(pattern, sizeof pattern, EndsWithSlash(State.currentPath) ? "%s*.*" : "%s\\*.*",
                        State.currentPath);
  if (n < 0 || static_cast<size_t>(n) >= sizeof pattern) return;
  WIN32_FIND_DATAA found;
  forms::UniqueFind search(FindFirstFileA(pattern, &found));
  if (!search) return;
  char text[kEntryText];
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    int at = index + 1;
    while (at < count && ListText(list, at, text) && CompareFolderNames(text, found.cFileName) < 0) ++at;
    int inserted =
        static_cast<int>(SendMessageA(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(found.cFileName)));
    if (inserted >= 0) SendMessageA(list, LB_SETITEMDATA, inserted, EntryData(kClosedFolderGlyph, level + 1));
  } while (FindNextFileA(search.get(), &found));
}

void TrimFolderList(int index, unsigned level) {
  HWND list = State.folderList;
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (index >= count - 1 || FolderEntryKind(ListData(list, index + 1)) == kClosedFolderGlyph) return;
  for (int i = count - 1; i > index; --i) SendMessageA(list, LB_DELETESTRING, i, 0);
  State.currentPath[PathCutForLevel(State.currentPath, State.rootLength, level)] = '\0';
  FillSubfolders(index, level);
}

void AddRecentNetwork() {
  char user[kPathBuffer];
  DWORD size = kPathBuffer - 1;
  if (CurrentNetworkUser(user, &size) != NO_ERROR) return;
  forms::UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "network\\recent", 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  for (DWORD i = 0;; ++i) {
    char name[kPathBuffer];
    DWORD length = kPathBuffer - 1;
    LONG r = RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    // A name too long for the buffer is passed over, not taken for the end of the list.
    if (r != ERROR_SUCCESS) continue;
    RecentNetworkName(name);
    AddDriveEntry(name, kNetworkGlyph);
  }
}

void ApplyTypedPath(HWND edit, bool allowCreate) {
  char typed[kPathBuffer];
  GetWindowTextA(edit, typed, static_cast<int>(kPathBuffer));
  // An emptied field names no folder; it is not taken for the root of the current drive.
  if (!typed[0] || !std::strcmp(typed, State.currentPath)) return;
  char full[kPathBuffer];
  if (!ComposeTypedPath(State.currentPath, typed, full, sizeof full)) {
    VeruErrorBox(kPathTooLong);
    return;
  }
  bool exists = false;
  bool isDirectory = false;
  if (!ValidatePath(full, true, true, nullptr, &exists, &isDirectory)) return;
  if (exists && !isDirectory) {
    VeruErrorBox(kNotADirectory, static_cast<const char*>(full));
    return;
  }
  if (!exists) {
    if (!allowCreate) {
      VeruErrorBox(kDirectoryMissing, static_cast<const char*>(full));
      return;
    }
    if (!AskYesNo(kDirectoryNotFoundCaption, kCreateDirectoryQuestion, static_cast<const char*>(full)))
      return;
    if (CreatePathDirs(full) != 0) return;
  }
  std::strcpy(State.currentPath, full);
  FindRootLength();
  Refresh();
}

HBITMAP MakeMaskBitmap(HDC dc, HBITMAP bitmap, COLORREF transparent, int width, int height) {
  forms::UniqueMemoryDC source(CreateCompatibleDC(dc));
  forms::UniqueMemoryDC target(CreateCompatibleDC(dc));
  forms::UniqueGdiObject<HBITMAP> mask(CreateBitmap(width, height, 1, 1, nullptr));
  if (!source || !target || !mask) return nullptr;
  {
    forms::SelectionGuard sourceSelection(source.get(), bitmap);
    forms::SelectionGuard targetSelection(target.get(), mask.get());
    // Colour to monochrome: pixels of the source's background colour become 1, the rest 0.
    SetBkColor(source.get(), transparent);
    BitBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
  }
  return mask.release();
}

void DrawMaskedGlyph(HDC target, HBITMAP glyphs, HBITMAP mask, int sourceX, int x, int y) {
  forms::UniqueMemoryDC work(CreateCompatibleDC(target));
  forms::UniqueMemoryDC glyphDc(CreateCompatibleDC(target));
  forms::UniqueMemoryDC maskDc(CreateCompatibleDC(target));
  forms::UniqueGdiObject<HBITMAP> workBitmap(CreateCompatibleBitmap(target, kGlyphSize, kGlyphSize));
  forms::UniqueGdiObject<HBRUSH> brush(CreateSolidBrush(GetBkColor(target)));
  if (!work || !glyphDc || !maskDc || !workBitmap || !brush) return;
  forms::SelectionGuard workSelection(work.get(), workBitmap.get());
  forms::SelectionGuard glyphSelection(glyphDc.get(), glyphs);
  forms::SelectionGuard maskSelection(maskDc.get(), mask);
  BitBlt(work.get(), 0, 0, kGlyphSize, kGlyphSize, glyphDc.get(), sourceX, 0, SRCCOPY);
  forms::SelectionGuard brushSelection(work.get(), brush.get());
  SetTextColor(work.get(), RGB(0, 0, 0));
  SetBkColor(work.get(), RGB(255, 255, 255));
  // ((destination XOR brush) AND mask) XOR destination: the brush where the mask is set.
  BitBlt(work.get(), 0, 0, kGlyphSize, kGlyphSize, maskDc.get(), sourceX, 0, 0xE20746);
  BitBlt(target, x, y, kGlyphSize, kGlyphSize, work.get(), 0, 0, SRCCOPY);
}

}  // namespace rxsystem

using namespace rxsystem;

extern "C" INT_PTR __stdcall DirDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return ChooserMessage(dialog, message, wParam, lParam);
  } catch (...) {
    VeruErrorBox(kInsufficientMemory);
    return FALSE;
  }
}

extern "C" INT_PTR __stdcall NewDirDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return NewFolderMessage(dialog, message, wParam, lParam);
  } catch (...) {
    VeruErrorBox(kInsufficientMemory);
    return FALSE;
  }
}

extern "C" LRESULT __stdcall ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
      SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(kFolderList, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list));
      return 0;
    }
    WNDPROC previous = State.previousListProc;
    return previous ? CallWindowProcA(previous, list, message, wParam, lParam)
                    : DefWindowProcA(list, message, wParam, lParam);
  } catch (...) {
    VeruErrorBox(kInsufficientMemory);
    return 0;
  }
}
