#include "app/Unit1.h"

#include "app/texts.h"
#include "util/Func_.h"
#include "util/float_text.h"
#include "util/sjis.h"

TForm1::TForm1(const FormControls& controls, const FormPlatform& platform)
    : FormControls(controls), FormPlatform(platform) {}

void TForm1::SetStatus(const std::string& text) {
    StatusBar1.SetSimpleText(text);
    StatusBar1.RepaintNow();
}

void TForm1::Button6Click() {
    Timer1.SetEnabled(false);
    Timer1.SetInterval(0);
    Window.Close();
}

void TForm1::CloseRequested() {
    FormClose();
    Application.Terminate();
}

std::string AppErrorText(const std::string& message) {
    if (message.empty()) return message;
    // The last character's first byte decides; a double-byte character's lead
    // byte always sorts after ".".
    std::size_t last = message.size() - 1;
    if (last > 0 && IsTrailByte(message, last)) --last;
    if (static_cast<unsigned char>(message[last]) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}
