#include "fakes/form_fixture.h"

namespace {
FormControls Controls(FakeForm& f) {
    return FormControls{f.app,     f.window,  f.boxes,   f.edit1,  f.edit2,  f.edit3,
                        f.edit4,   f.button1, f.button2, f.button3, f.button4, f.button5,
                        f.button6, f.check1,  f.check2,  f.status, f.timer,  f.dialog};
}
}  // namespace

FakeForm::FakeForm() : form(Controls(*this), FormPlatform{registry, files}) {
    for (FakeEdit* e : {&edit1, &edit2, &edit3, &edit4}) e->focusCounter = &focusCounter;
    window.onClose = [this] { Run([this] { form.CloseRequested(); }); };
}

const FakeEdit* FakeForm::Focused() const {
    const FakeEdit* best = nullptr;
    for (const FakeEdit* e : {&edit1, &edit2, &edit3, &edit4}) {
        if (e->focusOrder != 0 && (!best || e->focusOrder > best->focusOrder)) best = e;
    }
    return best;
}
