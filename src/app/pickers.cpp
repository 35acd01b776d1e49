// The three browse buttons: each picks a folder for its own edit field through
// the one shared file-open dialog.
#include "app/Unit1.h"
#include "app/texts.h"
#include "util/sjis.h"

namespace {

// The folder the dialog opens in for a field's text: the text less one
// trailing "\", except for a root such as "C:\" or a lone "\", and except
// when that "\" is the second byte of a double-byte character.
std::string InitialFolder(const std::string& text) {
    if (text.size() > 1 && EndsWithBackslash(text) && text[text.size() - 2] != ':') {
        return text.substr(0, text.size() - 1);
    }
    return text;
}

}  // namespace

void TForm1::Browse(IEdit& edit) {
    const std::string text = edit.GetText();
    OpenDialog1.SetInitialDir(InitialFolder(text));
    // The chosen path of an earlier run is never carried into the next one.
    OpenDialog1.SetFileName(texts::kFullWidthSpace);
    if (!OpenDialog1.Execute()) return;
    edit.SetText(ExtractFilePath(OpenDialog1.GetFileName()));
}

void TForm1::Button1Click() { Browse(Edit1); }
void TForm1::Button2Click() { Browse(Edit2); }
void TForm1::Button3Click() { Browse(Edit3); }
