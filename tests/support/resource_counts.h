// Counts of what a process holds, for tests that a long run of calls leaks nothing. Wine
// answers GetProcessHandleCount and GetGuiResources with 0, and a fresh handle's value shows
// only a leak that happens to sit below it; so each kind is counted slot by slot instead:
// kernel handles by GetHandleInformation over the handle values, GDI objects by GetObjectType
// over the indexes of the GDI handle table (Wine takes an index without its upper word),
// movable blocks by GlobalFlags over the slots of the table their handles point into.
#pragma once
#include <windows.h>

#include <ostream>

namespace testing_support {

struct ResourceCounts {
  int kernelHandles = 0;
  int gdiObjects = 0;
  int movableBlocks = 0;
  int topWindows = 0;  // of this process, visible or not
  bool operator==(const ResourceCounts&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ResourceCounts& c) {
  return out << c.kernelHandles << " kernel handles, " << c.gdiObjects << " GDI objects, " << c.movableBlocks
             << " movable blocks, " << c.topWindows << " top-level windows";
}

namespace resource_counts_detail {

// Beyond any handle value a test process reaches; every handle is a multiple of 4.
constexpr UINT_PTR kHandleValues = 0x10000;
constexpr UINT_PTR kGdiIndexes = 0x10000;
// Slots either side of a fresh movable block's: the whole table, wherever the block lands.
constexpr long kMovableSlots = 0x10000;

inline int KernelHandles() {
  int n = 0;
  for (UINT_PTR value = 4; value < kHandleValues; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++n;
  }
  return n;
}

inline int GdiObjects() {
  int n = 0;
  for (UINT_PTR index = 1; index < kGdiIndexes; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++n;
  return n;
}

// A movable block's handle is the address of its slot in one table of two-pointer slots;
// GlobalFlags refuses every other address without touching it.
inline int MovableBlocks() {
  HGLOBAL probe = GlobalAlloc(GMEM_MOVEABLE, 1);
  if (!probe) return -1;
  const auto at = reinterpret_cast<UINT_PTR>(probe);
  constexpr UINT_PTR kSlot = 2 * sizeof(void*);
  int n = 0;
  for (long k = -kMovableSlots; k <= kMovableSlots; ++k) {
    if (k == 0 || (k < 0 && static_cast<UINT_PTR>(-k) * kSlot > at)) continue;
    const UINT_PTR value = at + static_cast<UINT_PTR>(k) * kSlot;
    if (GlobalFlags(reinterpret_cast<HGLOBAL>(value)) != GMEM_INVALID_HANDLE) ++n;
  }
  GlobalFree(probe);
  return n;
}

inline int TopWindows() {
  int n = 0;
  EnumWindows(
      [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId()) ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

}  // namespace resource_counts_detail

// Call it with no other thread of the test running: their handles would be counted too.
inline ResourceCounts CountResources() {
  using namespace resource_counts_detail;
  ResourceCounts c;
  // First: the first window call of a process sets up its window station and desktop, with
  // handles and GDI objects of their own.
  c.topWindows = TopWindows();
  c.kernelHandles = KernelHandles();
  c.gdiObjects = GdiObjects();
  c.movableBlocks = MovableBlocks();
  return c;
}

}  // namespace testing_support
