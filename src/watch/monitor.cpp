// PLACEHOLDER: replaced by the helpers' implementation.
#include "app/Unit1.h"
void TForm1::Button4Click() {}
void TForm1::Button5Click() {}
void TForm1::Timer1Timer() {}
