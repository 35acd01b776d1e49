#include "app/Unit1.h"

#include "app/texts.h"
#include "util/Func_.h"
#include "util/float_text.h"
#include "util/sjis.h"

TForm1::TForm1(const FormControls& c, const FormPlatform& p)
    : Application(c.Application),
      Window(c.Window),
      Boxes(c.Boxes),
      Edit1(c.Edit1),
      Edit2(c.Edit2),
      Edit3(c.Edit3),
      Edit4(c.Edit4),
      Button1(c.Button1),
      Button2(c.Button2),
      Button3(c.Button3),
      Button4(c.Button4),
      Button5(c.Button5),
      Button6(c.Button6),
      CheckBox1(c.CheckBox1),
      CheckBox2(c.CheckBox2),
      StatusBar1(c.StatusBar1),
      Timer1(c.Timer1),
      OpenDialog1(c.OpenDialog1),
      Registry(p.Registry),
      Files(p.Files) {}

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
