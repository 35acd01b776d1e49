// Dirmind.exe as it was before it listened for changes: this stands in for the
// registry's change notification at link time (the one in dirmind_win32 is
// then not linked), so that the benchmarks can set the interval passes alone
// beside the notification. Nothing is ever told.
#include "win32/change_signal.h"

#include <utility>

Win32ChangeSignal::Win32ChangeSignal(std::function<void()> onChange)
    : onChange_(std::move(onChange)),
      keyEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      parentEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

void Win32ChangeSignal::Arm(const std::string&) {}

void Win32ChangeSignal::Disarm() {}

void Win32ChangeSignal::OnSignalled(std::size_t) {}
