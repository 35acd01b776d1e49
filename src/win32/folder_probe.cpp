#include "win32/folder_probe.h"

#include <utility>

#include "win32/handles.h"
#include "win32/text.h"

namespace {

constexpr wchar_t kClassName[] = L"DirmindFolderProbe";
constexpr UINT kAnswerMessage = WM_APP + 1;
// A full queue (10,000 messages) is tried again for about five seconds: an
// answer whose wake-up is lost waits for the next one.
constexpr int kPostAttempts = 50;
constexpr DWORD kPostPauseMs = 100;

bool FolderAt(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Runs on a thread of the system's pool; nothing may unwind out of it.
void CALLBACK RunJob(PTP_CALLBACK_INSTANCE instance, void* context) {
    const std::unique_ptr<std::function<void()>> job(static_cast<std::function<void()>*>(context));
    CallbackMayRunLong(instance);
    try {
        (*job)();
    } catch (...) {
    }
}

}  // namespace

void RunBeside(std::function<void()> job) {
    auto owned = std::make_unique<std::function<void()>>(std::move(job));
    if (TrySubmitThreadpoolCallback(RunJob, owned.get(), nullptr)) {
        owned.release();
        return;
    }
    (*owned)();
}

std::optional<DWORD> AttributesWithin(const std::wstring& path, DWORD milliseconds) {
    // Shared with the call, which may outlive the wait.
    struct Call {
        std::wstring path;
        UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        DWORD attributes = INVALID_FILE_ATTRIBUTES;
        DWORD error = ERROR_SUCCESS;
    };
    const auto call = std::make_shared<Call>();
    call->path = path;
    if (!call->done.get()) return GetFileAttributesW(path.c_str());
    RunBeside([call] {
        call->attributes = GetFileAttributesW(call->path.c_str());
        call->error = GetLastError();
        SetEvent(call->done.get());
    });
    if (WaitForSingleObject(call->done.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    SetLastError(call->error);
    return call->attributes;
}

Win32FolderProbe::Win32FolderProbe() : Win32FolderProbe(FolderAt) {}

Win32FolderProbe::Win32FolderProbe(FolderTest test)
    : test_(std::make_shared<const FolderTest>(std::move(test))) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc);
    }();
    if (atom != 0) {
        window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32FolderProbe::~Win32FolderProbe() {
    if (window_) DestroyWindow(window_);
}

void Win32FolderProbe::Begin(std::uint32_t ticket, const std::string& path) {
    RunBeside(
        [test = test_, mailbox = mailbox_, window = window_, ticket, widePath = ToWide(path)] {
            bool exists = false;
            try {
                exists = (*test)(widePath);
            } catch (...) {
            }
            {
                const std::lock_guard<std::mutex> hold(mailbox->lock);
                mailbox->answers.emplace_back(ticket, exists);
            }
            // Fails at once, and for good, once the probe has gone.
            for (int n = 1; !PostMessageW(window, kAnswerMessage, 0, 0); ++n) {
                if (n == kPostAttempts || GetLastError() != ERROR_NOT_ENOUGH_QUOTA) return;
                Sleep(kPostPauseMs);
            }
        });
}

LRESULT CALLBACK Win32FolderProbe::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kAnswerMessage) {
        // Whoever posted it, its arguments are never read.
        auto* self = reinterpret_cast<Win32FolderProbe*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) self->TakeAnswers();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32FolderProbe::TakeAnswers() {
    std::vector<std::pair<std::uint32_t, bool>> taken;
    {
        const std::lock_guard<std::mutex> hold(mailbox_->lock);
        taken.swap(mailbox_->answers);
    }
    if (!sink_) return;
    for (const auto& [ticket, exists] : taken) sink_->OnFolderAnswer(ticket, exists);
}
