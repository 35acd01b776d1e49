// Where the main window comes up: a saved position that leaves the window on
// no screen at all is brought into view.
#pragma once

#include <vector>

// A rectangle in screen pixels; right and bottom lie just outside it.
struct ScreenArea {
    int left;
    int top;
    int right;
    int bottom;
};

struct ScreenPoint {
    int x;
    int y;
};

// The top-left corner for a window frame of the given size now at topLeft.
// A frame that overlaps any of the work areas keeps its place exactly; one
// that overlaps none moves into the nearest work area, wholly inside it where
// it fits, else to its left or top edge. Without work areas nothing moves.
ScreenPoint PositionInView(ScreenPoint topLeft, int width, int height,
                           const std::vector<ScreenArea>& workAreas);
