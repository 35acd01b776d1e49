// The help text's keys: Esc stays in it.
#pragma once

#include <windows.h>

// Keeps Esc in a multi-line edit from closing its parent: such an edit asks
// its parent to close on Esc when it runs under the dialog manager.
void KeepEscapeInMemo(HWND memo);
