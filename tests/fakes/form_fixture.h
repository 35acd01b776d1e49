// A TForm1 wired to test doubles of every port.
#pragma once

#include "app/Unit1.h"
#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_toolkit.h"

struct FakeForm {
    FakeApplication app;
    FakeWindow window;
    FakeBoxes boxes;
    int focusCounter = 0;
    const void* focused = nullptr;  // the control with the focus, if any
    FakeEdit edit1, edit2, edit3, edit4;
    FakeButton button1, button2, button3, button4, button5, button6;
    FakeCheckBox check1, check2;
    FakeStatusLine status;
    FakeTimer timer;
    FakeOpenDialog dialog;
    FakeRegistry registry;
    FakeFileSystem files;
    TForm1 form;

    FakeForm();
    // The edit that got the focus last, or nullptr.
    const FakeEdit* Focused() const;
    // Runs a handler as the window's event dispatch does.
    template <typename F>
    void Run(F&& handler) {
        RunHandler(boxes, handler);
    }
};
