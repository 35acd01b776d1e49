// The system's own words for an error code.
#pragma once

#include <string>

// The message for error in language (0: the system's choice for the user),
// without its line end; empty when the system has none.
std::wstring SystemMessage(unsigned long error, unsigned short language = 0);
