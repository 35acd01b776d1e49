#include "fakes/fake_toolkit.h"

#include <utility>

#include "util/errors.h"

void FakeEdit::Focus() {
    if (focusCounter) focusOrder = ++*focusCounter;
    if (focus) *focus = this;
}

void FakeTimer::Arm(std::uint32_t ms) {
    interval = ms;
    armed = false;
    if (refuse) throw TimerRefused();
    armed = true;
    ++starts;
}

FolderChoice FakeFolderDialog::Pick(const std::string& initialFolder, const std::string& fileName) {
    ++runs;
    initialFoldersSeen.push_back(initialFolder);
    fileNamesSeen.push_back(fileName);
    const std::optional<std::string> chosen = onPick ? onPick() : std::nullopt;
    if (!chosen) return {};
    if (notShiftJis) return {FolderChoice::Outcome::NotShiftJis, {}};
    return {FolderChoice::Outcome::Chosen, *chosen};
}

void FakeEventLoop::ProcessMessages() {
    ++pumps;
    // Dispatch everything due now, including messages posted while dispatching.
    for (;;) {
        auto it = queue_.begin();
        for (; it != queue_.end(); ++it) {
            if (it->due <= elapsed_) break;
        }
        if (it == queue_.end()) return;
        auto message = std::move(it->message);
        queue_.erase(it);
        message();
    }
}

void FakeEventLoop::WaitForMessage(std::uint32_t ms) {
    ++waits;
    std::uint64_t until = elapsed_ + ms;
    for (const auto& p : queue_) {
        if (p.due < until) until = p.due;
    }
    if (until < elapsed_) until = elapsed_;
    waited += until - elapsed_;
    now += static_cast<std::uint32_t>(until - elapsed_);
    elapsed_ = until;
}

std::uint32_t FakeEventLoop::TickCount() {
    std::uint32_t reading = now;
    now += step;
    elapsed_ += step;
    return reading;
}

void FakeEventLoop::Post(std::function<void()> message, std::uint32_t after) {
    queue_.push_back({elapsed_ + after, std::move(message)});
}
