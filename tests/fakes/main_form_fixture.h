// A MainForm wired to test doubles of every port.
#pragma once

#include "app/error_boundary.h"
#include "app/main_form.h"
#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_toolkit.h"

struct FakeMainForm {
    FakeApplication app;
    FakeEventLoop loop;
    FakeWindow window;
    FakeBoxes boxes;
    int focusCounter = 0;
    const void* focused = nullptr;  // the control with the focus, if any
    FakeEdit jwwField, otherField, figureField, intervalField;
    FakeButton jwwBrowse, otherBrowse, figureBrowse, startButton, stopButton;
    FakeCheckBox autoStartBox, startMinimisedBox;
    FakeStatusLine status;
    FakeTimer timer;
    FakeChangeSignal changes;
    FakeFolderDialog dialog;
    FakeRegistry registry;
    FakeFileSystem files;
    MainForm form;

    FakeMainForm();
    // The field that got the focus last, or nullptr.
    const FakeEdit* Focused() const;
    // Runs a handler as the window's event dispatch does.
    template <typename F>
    void Run(F&& handler) {
        RunHandler(boxes, handler);
    }
};
