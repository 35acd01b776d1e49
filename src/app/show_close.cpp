// PLACEHOLDER: replaced by the helpers' implementation.
#include "app/Unit1.h"
void TForm1::FormShow() {}
void TForm1::FormClose() {}
