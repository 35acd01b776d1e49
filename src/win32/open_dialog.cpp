// PLACEHOLDER: replaced by the helpers' implementation.
#include "win32/open_dialog.h"
void Win32OpenDialog::SetInitialDir(const std::string& f) { initialDir_ = f; }
void Win32OpenDialog::SetFileName(const std::string& n) { fileName_ = n; }
bool Win32OpenDialog::Execute() { return false; }
std::string Win32OpenDialog::GetFileName() const { return fileName_; }
