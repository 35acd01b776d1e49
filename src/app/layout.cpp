#include "app/layout.h"

#include <stdexcept>

#include "app/texts.h"

namespace layout {

namespace {

constexpr std::array<Control, kControlCount> kControls{{
    {"Label1", Kind::Banner, kLabel1, 0, 0, 591, 33, texts::kLabel1, kNoTabStop},
    {"Label3", Kind::Label, kLabel3, 8, 40, 151, 13, texts::kLabel3, kNoTabStop},
    {"Label6", Kind::Label, kLabel6, 8, 64, 143, 13, texts::kLabel6, kNoTabStop},
    {"Label9", Kind::Label, kLabel9, 8, 88, 156, 13, texts::kLabel9, kNoTabStop},
    {"Label2", Kind::Label, kLabel2, 8, 120, 91, 13, texts::kLabel2, kNoTabStop},
    {"Label4", Kind::Label, kLabel4, 168, 120, 13, 13, texts::kLabel4, kNoTabStop},
    {"Edit1", Kind::Edit, kEdit1, 168, 36, 377, 21, "", 0},
    {"Button1", Kind::Button, kButton1, 544, 35, 43, 22, texts::kBrowse, 1},
    {"Edit2", Kind::Edit, kEdit2, 168, 60, 377, 21, "", 2},
    {"Button2", Kind::Button, kButton2, 544, 59, 43, 22, texts::kBrowse, 3},
    {"Edit3", Kind::Edit, kEdit3, 168, 84, 377, 21, "", 4},
    {"Button3", Kind::Button, kButton3, 544, 83, 43, 22, texts::kBrowse, 5},
    {"Memo1", Kind::Memo, kMemo1, 200, 112, 385, 121, "", 6},
    {"Button4", Kind::Button, kButton4, 80, 240, 113, 25, texts::kButtonStart, 7},
    {"Button5", Kind::Button, kButton5, 240, 240, 113, 25, texts::kButtonStop, 8},
    {"Button6", Kind::Button, kButton6, 400, 240, 113, 25, texts::kButtonExit, 9},
    {"StatusBar1", Kind::StatusLine, kStatusBar1, 0, 272, 591, 19, "", 10},
    {"Edit4", Kind::Edit, kEdit4, 104, 116, 57, 21, "", 11},
    {"CheckBox1", Kind::CheckBox, kCheckBox1, 8, 144, 185, 17, texts::kCheckAutoStart, 12},
    {"CheckBox2", Kind::CheckBox, kCheckBox2, 8, 168, 185, 17, texts::kCheckMinimized, 13},
}};

}  // namespace

const std::array<Control, kControlCount>& Controls() { return kControls; }

const Control& ControlById(int id) {
    for (const Control& control : kControls) {
        if (control.id == id) return control;
    }
    throw std::out_of_range("no control with this id");
}

std::string HelpText() {
    std::string text;
    for (int i = 0; i < texts::kHelpLineCount; ++i) {
        if (i > 0) text += "\r\n";
        text += texts::kHelpLines[i];
    }
    return text;
}

}  // namespace layout
