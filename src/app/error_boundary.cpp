#include "app/error_boundary.h"

#include "app/texts.h"
#include "util/errors.h"
#include "util/sjis.h"

std::string ErrorMessage(const std::exception& error) {
    if (dynamic_cast<const TimerRefused*>(&error)) return texts::kMsgNoTimer;
    return error.what();
}

std::string AppErrorText(const std::string& message) {
    if (message.empty()) return message;
    // The last character's first byte decides; a double-byte character's lead
    // byte always sorts after ".".
    std::size_t last = message.size() - 1;
    if (last > 0 && IsTrailByte(message, last)) --last;
    if (static_cast<unsigned char>(message[last]) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}
