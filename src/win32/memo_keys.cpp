#include "win32/memo_keys.h"

#include "win32/subclass.h"

namespace {

constexpr UINT_PTR kMemoKeysId = 2;

LRESULT CALLBACK MemoKeysProc(HWND memo, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                              DWORD_PTR) noexcept {
    switch (msg) {
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) return 0;
            break;
        case WM_CHAR:
            if (wp == VK_ESCAPE) return 0;
            break;
        default:
            break;
    }
    return PassOn(memo, msg, wp, lp, MemoKeysProc, id);
}

}  // namespace

void KeepEscapeInMemo(HWND memo) { SetWindowSubclass(memo, MemoKeysProc, kMemoKeysId, 0); }
