// What shows a GDI handle leak: the process's count of GDI objects, and the handle table slot
// a fresh object gets.
#pragma once
#include <windows.h>

#include "resource_counts.h"

namespace testing_support {

// GDI objects of this process: handles created and never deleted show here. Counted in the
// handle table, since Wine's GetGuiResources answers 0.
inline DWORD GdiObjects() { return static_cast<DWORD>(resource_counts_detail::GdiObjects()); }

// The GDI handle table slot a fresh object gets: it climbs when objects leak, also where the
// platform does not count them.
inline unsigned FreshGdiSlot() {
  HPEN probe = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
  unsigned slot = static_cast<unsigned>(reinterpret_cast<UINT_PTR>(probe) & 0xFFFF);
  DeleteObject(probe);
  return slot;
}

}  // namespace testing_support
