// The window shown at start-up and closed at the end: the settings file
// brought into the controls, and the controls saved back.
#include "app/Unit1.h"
#include "app/texts.h"
#include "util/Func_.h"
#include "util/float_text.h"
#include "util/sjis.h"
#include "watch/interval.h"

namespace {

constexpr double kDefaultInterval = 5.0;

}  // namespace

void TForm1::FormShow() {
    SettingsPath = ChangeFileExt(Application.ExeName(), ".dat");

    FileFolder.clear();
    FileCFolder.clear();
    ZukeiFolder.clear();
    IntervalSec = kDefaultInterval;
    AutoStart = false;
    StartMinimized = false;

    LoadSettings(SettingsPath);
    if (!IntervalInRange(IntervalSec)) IntervalSec = kDefaultInterval;

    Edit1.SetText(FileFolder);
    Edit2.SetText(FileCFolder);
    Edit3.SetText(ZukeiFolder);
    Edit4.SetText(FloatToText(IntervalSec));
    CheckBox1.SetChecked(AutoStart);
    CheckBox2.SetChecked(StartMinimized);
    Button5.SetEnabled(false);
    SetStatus(texts::kStatusReady);

    // Auto-start is a click on Start, its error boxes included; an error that
    // escapes it (a refused timer) ends the show here, before minimising.
    if (AutoStart) Button4Click();
    if (StartMinimized) Window.Minimize();
}

void TForm1::FormClose() {
    Timer1.SetEnabled(false);
    Timer1.SetInterval(0);

    FileFolder = Edit1.GetText();
    FileCFolder = Edit2.GetText();
    ZukeiFolder = Edit3.GetText();
    // No range check: an unreadable interval is saved as 0 and repaired at the
    // next start. A number too large for a double escapes from here, nothing
    // is saved and the window stays open.
    IntervalSec = TextToFloat(Edit4.GetText());
    AutoStart = CheckBox1.GetChecked();
    StartMinimized = CheckBox2.GetChecked();

    SaveSettings(SettingsPath);
}

void TForm1::SaveAtSessionEnd() noexcept {
    // The close sequence itself: an interval that does not convert ends it
    // before the save, and at session end that is not shown.
    try {
        FormClose();
    } catch (...) {
    }
}
