// The one place where an error that escapes an event handler ends: the
// handler stops there and the application's error box tells the user.
#pragma once

#include <exception>
#include <string>

#include "app/toolkit.h"

// The message for an error: the program's text for the typed errors, the
// error's own words for any other.
std::string ErrorMessage(const std::exception& error);

// The text of the application's error box for a message: "." is appended
// when the message's last character sorts after ".".
std::string AppErrorText(const std::string& message);

// Runs one event handler; an error that escapes it ends only that handler and
// is shown in the application's error box.
template <typename Handler>
void RunHandler(IMessageBoxes& boxes, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        boxes.ShowAppError(AppErrorText(ErrorMessage(e)));
    }
}
