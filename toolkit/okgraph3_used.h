// The plotter's five bitmap buffers: created once, never freed while the program runs.
#pragma once
#include "forms/bitmap.h"

namespace okgraph3_used {

// Creates the five bitmaps, empty, in the order of their numbers (again in tests: the old
// ones go).
void CreateGraphBitmaps();

// 1: copy of the finished, empty graph (DrawGraph), read by PrepareBackBitmap.
forms::Bitmap& CleanBitmap();
// 2: second copy of the finished graph; nothing reads it.
forms::Bitmap& PlotCopyBitmap();
// 3: snapshot of the axes image with its empty background (FitGraph), read by DrawGraph.
forms::Bitmap& FrameBitmap();
// 4: created only.
forms::Bitmap& SpareBitmap();
// 5: back buffer of one animation frame.
forms::Bitmap& BackBitmap();

}  // namespace okgraph3_used
