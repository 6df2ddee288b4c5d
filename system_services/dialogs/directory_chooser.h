// The library's folder chooser (dialog 510) and its new-folder dialog (dialog 500): an edit
// field with the current folder, a folder list from the root down to the current folder and
// its subfolders, a drive list, and the checks of typed paths and new folder names.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "forms/platform/owned_handles.h"
#include "system_services/host/module_buffers.h"

namespace rxsystem {

inline constexpr int kChooserDialog = 510;
inline constexpr int kNewFolderDialog = 500;
inline constexpr int kChooserGlyphs = 1010;
inline constexpr int kGlyphSize = 16;
inline constexpr int kGlyphCount = 8;
inline constexpr COLORREF kGlyphBackground = 0xFF0000;  // pure blue

// Controls of dialog 510 and 500.
enum ChooserControl : int {
  kNewFolderName = 101,
  kFolderList = 102,
  kDriveList = 103,
  kNewFolderButton = 104,
  kPathEdit = 105,
  kApplyButton = 106,
};

// What the chooser is created with.
struct DirDialogRecord {
  uint32_t newFolder;
  char* path;  // kPathBuffer bytes: the starting folder in, the chosen folder out
  const char* title;
};

// Module state while dialog 510 is open; only one chooser is open at a time.
struct DirChooserState {
  char currentPath[kPathBuffer];
  size_t rootLength;
  HWND folderList;
  HWND driveList;
  HWND edit;
  WNDPROC previousListProc;
  DirDialogRecord* record;
  uint32_t newFolder;
  // The glyph strip and its mask, for as long as the dialog shows them.
  forms::UniqueGdiObject<HBITMAP> glyphs;
  forms::UniqueGdiObject<HBITMAP> mask;
  int itemHeight;
  int textOffset;
};
DirChooserState& ChooserState();

// 0, or -1 when the chooser ended with Cancel.
int VeruDirectoryDialog(HWND owner, char* path, const char* title, uint32_t newFolder);

// The glyph offset 0..4 of the drive at root (A:\) with its label (256 bytes), or -1 for a
// drive that is not there.
int DescribeDrive(const char* root, char* label);
// 1, or 0 after its message. Each output may be null.
int ValidatePath(const char* path, bool requireDrive, bool requireAbsolute, bool* hasDrive, bool* exists,
                 bool* isDirectory);
int ValidateFolderName(const char* name);

void FindRootLength();
// Hands back the current folder's entry.
void FillFolderPath(int& index, unsigned& level);
void FillSubfolders(int index, unsigned level);
void TrimFolderList(int index, unsigned level);
void AddRecentNetwork();
void ApplyTypedPath(HWND edit, bool allowCreate);

HBITMAP MakeMaskBitmap(HDC dc, HBITMAP bitmap, COLORREF transparent, int width, int height);
void DrawMaskedGlyph(HDC target, HBITMAP glyphs, HBITMAP mask, int sourceX, int x, int y);

// The platform's query for the user logged on to the default network; tests that need a
// network the machine does not have put their own here.
using NetworkUserQuery = DWORD (*)(char* name, DWORD* size);
NetworkUserQuery ReplaceNetworkUserQuery(NetworkUserQuery query);

}  // namespace rxsystem

extern "C" INT_PTR __stdcall DirDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
extern "C" INT_PTR __stdcall NewDirDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
extern "C" LRESULT __stdcall ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
