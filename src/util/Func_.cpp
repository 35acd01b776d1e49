// PLACEHOLDER: replaced by the helpers' implementation.
#include "util/Func_.h"
EOverflow::EOverflow() : EAppError("") {}
EOutOfResources::EOutOfResources() : EAppError("") {}
void WaitWithMessages(IMessagePump& pump, std::uint32_t) { pump.ProcessMessages(); }
std::string SafeCopy(const std::string&, std::int32_t, std::int32_t) { return {}; }
bool TextToBool(const std::string&) { return false; }
std::string BoolToText(bool v) { return v ? "1" : "0"; }
std::int32_t TextToInt(const std::string&) { return 0; }
double TextToFloat(const std::string&) { return 0; }
std::string StripBlanks(const std::string& t) { return t; }
