#include "app/window_place.h"

#include <algorithm>
#include <cstdint>

namespace {

// Positions near the ends of the int range: every sum is made in 64 bits.
struct Span {
    std::int64_t from;
    std::int64_t to;  // just outside
};

bool Overlap(Span a, Span b) { return a.from < b.to && b.from < a.to; }

// The gap between two spans, 0 when they touch or overlap.
double Gap(Span a, Span b) {
    return static_cast<double>(std::max<std::int64_t>({0, b.from - a.to, a.from - b.to}));
}

// The start of a span of the given length moved inside the area.
int MoveInside(std::int64_t from, std::int64_t length, Span area) {
    const std::int64_t last = area.to - length;
    return static_cast<int>(last <= area.from ? area.from : std::clamp(from, area.from, last));
}

}  // namespace

ScreenPoint PositionInView(ScreenPoint topLeft, int width, int height,
                           const std::vector<ScreenArea>& workAreas) {
    const std::int64_t w = std::max(width, 1);
    const std::int64_t h = std::max(height, 1);
    const Span across{topLeft.x, topLeft.x + w};
    const Span down{topLeft.y, topLeft.y + h};

    const ScreenArea* nearest = nullptr;
    double nearestDistance = 0;
    for (const ScreenArea& area : workAreas) {
        if (area.right <= area.left || area.bottom <= area.top) continue;
        const Span areaAcross{area.left, area.right};
        const Span areaDown{area.top, area.bottom};
        if (Overlap(across, areaAcross) && Overlap(down, areaDown)) return topLeft;
        const double dx = Gap(across, areaAcross);
        const double dy = Gap(down, areaDown);
        const double distance = dx * dx + dy * dy;
        if (!nearest || distance < nearestDistance) {
            nearest = &area;
            nearestDistance = distance;
        }
    }
    if (!nearest) return topLeft;
    return {MoveInside(topLeft.x, w, {nearest->left, nearest->right}),
            MoveInside(topLeft.y, h, {nearest->top, nearest->bottom})};
}
