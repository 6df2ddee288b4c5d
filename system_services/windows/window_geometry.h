// Where SysPosWindow puts a window and how large SysSizeWindow makes it, axis by axis.
#pragma once
#include <cstdint>

namespace rxsystem {

// One edge of a moved window: placement 1 centres it in the free space of the screen (halved
// towards zero), 2 puts it against the far side, any other value keeps the given edge. The
// free space is negative for a window larger than the screen.
int32_t PlacedEdge(int32_t given, int32_t placement, int32_t screenExtent, int32_t windowExtent);

// One extent of a sized window: a positive percentage of the screen's extent (truncated), else
// the given extent.
int32_t SizedExtent(int32_t given, int32_t percent, int32_t screenExtent);

}  // namespace rxsystem
