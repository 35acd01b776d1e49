#include "fakes/form_fixture.h"

namespace {
FormControls Controls(FakeForm& f) {
    return FormControls{f.app,     f.window,  f.boxes,   f.edit1,  f.edit2,  f.edit3,
                        f.edit4,   f.button1, f.button2, f.button3, f.button4, f.button5,
                        f.button6, f.check1,  f.check2,  f.status, f.timer,  f.dialog};
}
}  // namespace

FakeForm::FakeForm() : form(Controls(*this), FormPlatform{registry, files}) {
    for (FakeEdit* e : {&edit1, &edit2, &edit3, &edit4}) {
        e->focusCounter = &focusCounter;
        e->focus = &focused;
    }
    for (FakeButton* b : {&button1, &button2, &button3, &button4, &button5, &button6}) {
        b->focus = &focused;
    }
    window.onClose = [this] { Run([this] { form.CloseRequested(); }); };
}

const FakeEdit* FakeForm::Focused() const {
    const FakeEdit* best = nullptr;
    for (const FakeEdit* e : {&edit1, &edit2, &edit3, &edit4}) {
        if (e->focusOrder != 0 && (!best || e->focusOrder > best->focusOrder)) best = e;
    }
    return best;
}
