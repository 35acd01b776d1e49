#include "win32/frame_edge.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "app/error_boundary.h"

namespace {

std::vector<std::pair<HWND, IMessageBoxes*>>& Boundaries() {
    static std::vector<std::pair<HWND, IMessageBoxes*>> boundaries;
    return boundaries;
}

}  // namespace

WindowBoundary::WindowBoundary(HWND root, IMessageBoxes& boxes) : root_(root) {
    Boundaries().emplace_back(root, &boxes);
}

WindowBoundary::~WindowBoundary() {
    auto& boundaries = Boundaries();
    boundaries.erase(std::remove_if(boundaries.begin(), boundaries.end(),
                                    [this](const auto& entry) { return entry.first == root_; }),
                     boundaries.end());
}

void HandToBoundary(HWND hwnd) noexcept {
    const std::exception_ptr error = std::current_exception();
    const HWND root = GetAncestor(hwnd, GA_ROOTOWNER);
    const auto& boundaries = Boundaries();
    const auto found = std::find_if(boundaries.begin(), boundaries.end(),
                                    [root](const auto& entry) { return entry.first == root; });
    if (!error || found == boundaries.end()) return;
    // The box runs a message loop, in which the list may change.
    IMessageBoxes& boxes = *found->second;
    try {
        RunHandler(boxes, [&] { std::rethrow_exception(error); });
    } catch (...) {
    }
}
