// PLACEHOLDER: replaced by the helpers' implementation.
#include "app/Unit1.h"
void TForm1::LoadSettings(const std::string&) {}
void TForm1::SaveSettings(const std::string&) {}
