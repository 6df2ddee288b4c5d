// The in-memory dialog templates of the prompt and list dialogs, and the font their layout is
// measured with.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "forms/platform/owned_handles.h"
#include "system_services/dialogs/dialog_layout.h"
#include "system_services/host/host_interface.h"

namespace rxsystem {

// The 8-point "MS Sans Serif" selected into the host window's device context, as the
// dialog's own font will be; the system fixed-pitch font can stand in for measuring rows.
// Release (or the destructor) puts the old font back, releases the context and deletes
// the font.
class MeasuringFont {
 public:
  explicit MeasuringFont(HWND window);
  MeasuringFont(const MeasuringFont&) = delete;
  MeasuringFont& operator=(const MeasuringFont&) = delete;

  // Of the font selected now.
  FontMetrics Metrics() const;
  int32_t TextWidth(std::string_view text) const;
  // A caption measured with its terminating NUL, which the dialogs' widths are laid out for.
  int32_t TextWidthWithNul(std::string_view text) const;
  void SelectFixed();
  void SelectSans();
  void Release();

 private:
  // In this order, so that the old font is back before the font goes and the DC last.
  forms::WindowDC dc_;
  forms::UniqueGdiObject<HFONT> sans_;
  forms::SelectionGuard selected_;
};

// A template being written in a locked movable block, unlocked and freed with it.
struct DialogTemplate {
  LockedBlock block;
  BYTE* base = nullptr;
  BYTE* next = nullptr;  // where the next item goes
  BYTE* end = nullptr;
  bool centre = false;
  FontMetrics metrics;
};

// Starts the template: style, item count, position (Left or Top negative: centred, at 0, 0),
// size, caption and font. 0, or -1 after the memory box.
int BuildDialogTemplate(FontMetrics metrics, const char* title, int32_t left, int32_t top, int32_t width,
                        int32_t height, int itemCount, size_t textChars, DialogTemplate& out);

// Appends one item and advances the position; the item, or null when it would not fit.
BYTE* AddDialogItem(DialogTemplate& t, int16_t x, int16_t y, int16_t cx, int16_t cy, uint16_t classAtom,
                    uint16_t id, uint32_t style, std::string_view text);
BYTE* AddDialogItem(DialogTemplate& t, const ItemLayout& item);

}  // namespace rxsystem
