// The wave experiment's graph settings: ranges, colours, grids, titles, ticks and numbers.
// One place, so the program and the plotter's own tests and benchmark draw the same graph.
#pragma once

namespace Unit1 {

void ConfigureWaveGraph(double xMin, double xMax, double yMin, double yMax);

}  // namespace Unit1
