// PLACEHOLDER: replaced by the helpers' implementation.
#include "app/Unit1.h"
void TForm1::Browse(IEdit&) {}
void TForm1::Button1Click() { Browse(Edit1); }
void TForm1::Button2Click() { Browse(Edit2); }
void TForm1::Button3Click() { Browse(Edit3); }
