// The system's own words for an error code.
#pragma once

#include <string>

// The message for error in language (0: the system's choice for the user),
// without its line end; empty when the system has none.
std::wstring SystemMessage(unsigned long error, unsigned short language = 0);

// The message for error in the system's choice for the user, or "Error N"
// when the system has none.
std::wstring SystemMessageOrCode(unsigned long error);
