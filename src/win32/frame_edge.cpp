#include "win32/frame_edge.h"

#include "app/error_boundary.h"

void HandToBoundary(HWND hwnd) noexcept {
    std::exception_ptr error = std::current_exception();
    const HWND root = GetAncestor(hwnd, GA_ROOTOWNER);
    if (root) SendMessageW(root, kFrameErrorMessage, 0, reinterpret_cast<LPARAM>(&error));
}

void ShowAtBoundary(IMessageBoxes& boxes, std::exception_ptr error) noexcept {
    try {
        RunHandler(boxes, [&] { std::rethrow_exception(error); });
    } catch (...) {
    }
}
