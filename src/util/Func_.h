// Text, number and waiting helpers shared by the window's handlers. Every
// text is a Shift-JIS (code page 932) byte string; lengths and positions
// count bytes, positions from 1.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// An error that escapes a handler and is shown in the application's error box.
// what() is the message in Shift-JIS bytes.
class EAppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A number too large for a double; message "浮動小数点数のオーバーフロー".
class EOverflow : public EAppError {
public:
    EOverflow();
};

// The system refused a timer; message "タイマーを取得できません".
class EOutOfResources : public EAppError {
public:
    EOutOfResources();
};

// What WaitWithMessages needs of the application.
class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    // Dispatches every queued message, then returns.
    virtual void ProcessMessages() = 0;
    // Blocks until a message arrives or the time runs out, whichever is first.
    virtual void WaitForMessage(std::uint32_t milliseconds) = 0;
    // The system's millisecond counter (wraps after 2^32 ms).
    virtual std::uint32_t TickCount() = 0;
};

// Lets pending messages run until the counter reads more than milliseconds
// after the start; messages are dispatched at least once, also for 0.
void WaitWithMessages(IMessagePump& pump, std::uint32_t milliseconds);
std::string SafeCopy(const std::string& text, std::int32_t from, std::int32_t count);
bool TextToBool(const std::string& text);
std::string BoolToText(bool value);
std::int32_t TextToInt(const std::string& text);
// Throws EOverflow for a well-formed number above the largest double.
double TextToFloat(const std::string& text);
std::string StripBlanks(const std::string& text);
