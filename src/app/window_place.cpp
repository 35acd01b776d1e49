#include "app/window_place.h"

#include <algorithm>
#include <cstdint>

namespace {

// Positions near the ends of the int range: every sum is made in 64 bits.
struct Span {
    std::int64_t from;
    std::int64_t to;  // just outside
};

// How much of two spans is shared, 0 when they do not overlap.
std::int64_t Shared(Span a, Span b) {
    return std::max<std::int64_t>(0, std::min(a.to, b.to) - std::max(a.from, b.from));
}

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

ScreenPoint PositionInView(ScreenPoint topLeft, const FrameShape& frame,
                           const std::vector<ScreenArea>& workAreas) {
    const std::int64_t w = std::max(frame.width, 1);
    const std::int64_t h = std::max(frame.height, 1);
    const std::int64_t captionHeight = std::clamp<std::int64_t>(frame.captionHeight, 1, h);
    const std::int64_t usefulWidth = std::clamp<std::int64_t>(frame.usefulCaptionWidth, 1, w);
    const std::int64_t usefulHeight = (captionHeight + 1) / 2;
    const Span across{topLeft.x, topLeft.x + w};
    const Span down{topLeft.y, topLeft.y + h};
    const Span caption{topLeft.y, topLeft.y + captionHeight};

    const ScreenArea* nearest = nullptr;
    double nearestDistance = 0;
    std::int64_t nearestOverlap = 0;
    for (const ScreenArea& area : workAreas) {
        if (area.right <= area.left || area.bottom <= area.top) continue;
        const Span areaAcross{area.left, area.right};
        const Span areaDown{area.top, area.bottom};
        if (Shared(across, areaAcross) >= usefulWidth &&
            Shared(caption, areaDown) >= usefulHeight) {
            return topLeft;
        }
        const double dx = Gap(across, areaAcross);
        const double dy = Gap(down, areaDown);
        const double distance = dx * dx + dy * dy;
        const std::int64_t overlap = Shared(across, areaAcross) * Shared(down, areaDown);
        if (!nearest || distance < nearestDistance ||
            (distance == nearestDistance && overlap > nearestOverlap)) {
            nearest = &area;
            nearestDistance = distance;
            nearestOverlap = overlap;
        }
    }
    if (!nearest) return topLeft;
    return {MoveInside(topLeft.x, w, {nearest->left, nearest->right}),
            MoveInside(topLeft.y, h, {nearest->top, nearest->bottom})};
}
