// The main window class: its controls, the settings record and the working
// values, and every handler of the window's events.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "app/platform.h"
#include "app/toolkit.h"

struct FormControls {
    IApplication& Application;
    IWindow& Window;
    IMessageBoxes& Boxes;
    IEdit& Edit1;
    IEdit& Edit2;
    IEdit& Edit3;
    IEdit& Edit4;
    IButton& Button1;
    IButton& Button2;
    IButton& Button3;
    IButton& Button4;
    IButton& Button5;
    IButton& Button6;
    ICheckBox& CheckBox1;
    ICheckBox& CheckBox2;
    IStatusLine& StatusBar1;
    ITimer& Timer1;
    IOpenDialog& OpenDialog1;
};

struct FormPlatform {
    IRegistry& Registry;
    IFileSystem& Files;
};

// The controls and the platform are the form's own members (Edit1, Timer1,
// Registry, ...), as the handlers name them.
class TForm1 : public FormControls, public FormPlatform {
public:
    TForm1(const FormControls& controls, const FormPlatform& platform);
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Event handlers. An error that escapes one is shown by RunHandler.
    void FormShow();
    void FormClose();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Timer1Timer();
    // The window asks to close (close box, system menu, Exit): runs FormClose
    // and ends the application; when FormClose fails the window stays open.
    void CloseRequested();

    void SetStatus(const std::string& text);
    void LoadSettings(const std::string& path);
    void SaveSettings(const std::string& path);

    // The settings record and the working values.
    std::string SettingsPath;
    std::string FileFolder;
    std::string FileCFolder;
    std::string ZukeiFolder;
    std::string RegFile;
    std::string RegFileC;
    std::string RegZukei;
    double IntervalSec = 5.0;
    bool AutoStart = false;
    bool StartMinimized = false;

    // The session ends (log-off, shutdown): saves what a close saves, as
    // far as that can go without a box; nothing is saved when the interval
    // field does not convert. Never throws.
    void SaveAtSessionEnd() noexcept;

private:
    void Browse(IEdit& edit);
    // True when one of the inputs that Start locks has the focus.
    bool LockedInputHasFocus() const;
};

// The text of the application's error box for an error message: "." is
// appended when the message's last character sorts after ".".
std::string AppErrorText(const std::string& message);

// Runs one event handler; an error that escapes it ends only that handler and
// is shown in the application's error box.
template <typename Handler>
void RunHandler(IMessageBoxes& boxes, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        boxes.ShowAppError(AppErrorText(e.what()));
    }
}
