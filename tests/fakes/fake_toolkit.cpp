#include "fakes/fake_toolkit.h"

#include <utility>

void FakeEdit::SetFocus() {
    if (focusCounter) focusOrder = ++*focusCounter;
    if (focus) *focus = this;
}

void FakeTimer::SetEnabled(bool e) {
    enabled = e;
    Update();
}

void FakeTimer::SetInterval(std::uint32_t ms) {
    interval = ms;
    Update();
}

void FakeTimer::Update() {
    if (enabled && interval != 0) {
        if (refuse) throw EOutOfResources();
        ++starts;
    }
}

bool FakeOpenDialog::Execute() {
    ++runs;
    initialDirsSeen.push_back(initialDir);
    fileNamesSeen.push_back(fileName);
    return onExecute ? onExecute(*this) : false;
}

void FakeApplication::ProcessMessages() {
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

void FakeApplication::WaitForMessage(std::uint32_t ms) {
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

std::uint32_t FakeApplication::TickCount() {
    std::uint32_t reading = now;
    now += step;
    elapsed_ += step;
    return reading;
}

void FakeApplication::Post(std::function<void()> message, std::uint32_t after) {
    queue_.push_back({elapsed_ + after, std::move(message)});
}
