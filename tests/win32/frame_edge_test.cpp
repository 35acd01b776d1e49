// An error at the edge of a frame the system calls ends there and reaches the
// error boundary of the window at the root of the frame's window.
#include "win32/frame_edge.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/texts.h"
#include "fakes/fake_toolkit.h"
#include "util/errors.h"

namespace {

FakeBoxes* gBoxes = nullptr;

// A top-level window whose error boundary shows in gBoxes.
LRESULT CALLBACK BoundaryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kFrameErrorMessage) {
        ShowAtBoundary(*gBoxes, *reinterpret_cast<const std::exception_ptr*>(lp));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(FrameEdge, AnErrorInAChildsFrameIsShownByItsRootsBoundaryAndTheFrameGoesOn) {
    FakeBoxes boxes;
    gBoxes = &boxes;
    WNDCLASSW wc{};
    wc.lpfnWndProc = BoundaryProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DirmindFrameEdgeTest";
    ASSERT_NE(0, RegisterClassW(&wc));
    const HWND root = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                      nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, root);
    const HWND child = CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 50, 20, root, nullptr,
                                       wc.hInstance, nullptr);
    ASSERT_NE(nullptr, child);

    EXPECT_EQ(5, AtFrameEdge<LRESULT>(child, 5, []() -> LRESULT { throw TimerRefused(); }));
    EXPECT_EQ(7, AtFrameEdge<LRESULT>(child, 5, [] { return LRESULT{7}; }));
    // Not a std::exception: nothing to show, and still no unwinding.
    EXPECT_EQ(5, AtFrameEdge<LRESULT>(root, 5, []() -> LRESULT { throw 42; }));
    ASSERT_EQ(1u, boxes.appErrors.size());
    EXPECT_EQ(std::string(texts::kMsgNoTimer) + ".", boxes.appErrors[0]);

    DestroyWindow(root);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
    gBoxes = nullptr;
}

}  // namespace
