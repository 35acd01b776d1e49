// Where the main window comes up: a saved position that leaves no useful part
// of the window's caption on a screen is brought into view.
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

// A window frame as the rule sees it: its size, the height of its top strip
// (from its top edge down to the client area: where it is dragged), and how
// wide a part of that strip is enough to take hold of it.
struct FrameShape {
    int width;
    int height;
    int captionHeight;
    int usefulCaptionWidth;
};

// The top-left corner for a frame of that shape now at topLeft. A frame keeps
// its place exactly where one work area holds a part of its top strip as wide
// as usefulCaptionWidth (or the whole frame's width, if narrower) and at least
// half the strip's height. Any other frame moves into the nearest work area
// (of those it overlaps, the one it overlaps most), wholly inside it where it
// fits, else to its left or top edge. Without work areas nothing moves.
ScreenPoint PositionInView(ScreenPoint topLeft, const FrameShape& frame,
                           const std::vector<ScreenArea>& workAreas);
