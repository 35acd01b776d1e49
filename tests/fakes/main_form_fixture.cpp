#include "fakes/main_form_fixture.h"

namespace {

MainFormControls Controls(FakeMainForm& f) {
    return MainFormControls{f.window,
                            f.boxes,
                            {{{f.jwwField, f.jwwBrowse},
                              {f.otherField, f.otherBrowse},
                              {f.figureField, f.figureBrowse}}},
                            f.intervalField,
                            f.startButton,
                            f.stopButton,
                            f.autoStartBox,
                            f.startMinimisedBox,
                            f.status,
                            f.dialog};
}

}  // namespace

FakeMainForm::FakeMainForm()
    : form(Controls(*this), MainFormServices{app, loop, files, files, registry, timer, changes}) {
    for (FakeEdit* e : {&jwwField, &otherField, &figureField, &intervalField}) {
        e->focusCounter = &focusCounter;
        e->focus = &focused;
    }
    for (FakeButton* b : {&jwwBrowse, &otherBrowse, &figureBrowse, &startButton, &stopButton}) {
        b->focus = &focused;
    }
    files.answerLoop = &loop;
    window.onClose = [this] { Run([this] { form.OnCloseRequested(); }); };
}

const FakeEdit* FakeMainForm::Focused() const {
    const FakeEdit* best = nullptr;
    for (const FakeEdit* e : {&jwwField, &otherField, &figureField, &intervalField}) {
        if (e->focusOrder != 0 && (!best || e->focusOrder > best->focusOrder)) best = e;
    }
    return best;
}
