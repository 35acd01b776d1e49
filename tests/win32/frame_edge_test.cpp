// An error at the edge of a frame the system calls ends there and reaches the
// error boundary of the window at the root of the frame's window.
#include "win32/frame_edge.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/texts.h"
#include "fakes/fake_toolkit.h"
#include "test_window.h"
#include "util/errors.h"

namespace {

TEST(FrameEdge, AnErrorInAChildsFrameIsShownByItsRootsBoundaryAndTheFrameGoesOn) {
    FakeBoxes boxes;
    const adapter_test::TestWindow root;
    const HWND child = CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 50, 20, root.Handle(),
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, child);
    std::optional<WindowBoundary> boundary(std::in_place, root.Handle(), boxes);

    EXPECT_EQ(5, AtFrameEdge<LRESULT>(child, 5, []() -> LRESULT { throw TimerRefused(); }));
    EXPECT_EQ(7, AtFrameEdge<LRESULT>(child, 5, [] { return LRESULT{7}; }));
    // Not a std::exception: nothing to show, and still no unwinding.
    EXPECT_EQ(5, AtFrameEdge<LRESULT>(root.Handle(), 5, []() -> LRESULT { throw 42; }));
    ASSERT_EQ(1u, boxes.appErrors.size());
    EXPECT_EQ(std::string(texts::kMsgNoTimer) + ".", boxes.appErrors[0]);

    // Once the boundary has ended, an error is dropped.
    boundary.reset();
    EXPECT_EQ(5, AtFrameEdge<LRESULT>(child, 5, []() -> LRESULT { throw TimerRefused(); }));
    EXPECT_EQ(1u, boxes.appErrors.size());
}

}  // namespace
