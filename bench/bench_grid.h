// Where the benchmark's helper shows the desktop's windows: tiled in cells
// of a grid, left of where the benchmark's own window goes.
#pragma once

enum { CELL_WIDTH = 120, CELL_HEIGHT = 90, GRID_COLUMNS = 6, GRID_ROWS = 10, GRID_RIGHT = GRID_COLUMNS * CELL_WIDTH };
