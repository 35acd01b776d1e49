#include "app/layout.h"

#include "app/texts.h"

namespace layout {

namespace {

constexpr std::array<Control, kControlCount> kControls{{
    {"banner", Kind::Banner, kBanner, 0, 0, 591, 33, texts::kBannerText, kNoTabStop},
    {"jwwLabel", Kind::Label, kJwwLabel, 8, 40, 151, 13, texts::kJwwLabel, kNoTabStop},
    {"otherLabel", Kind::Label, kOtherLabel, 8, 64, 143, 13, texts::kOtherLabel, kNoTabStop},
    {"figureLabel", Kind::Label, kFigureLabel, 8, 88, 156, 13, texts::kFigureLabel, kNoTabStop},
    {"intervalLabel", Kind::Label, kIntervalLabel, 8, 120, 91, 13, texts::kIntervalLabel,
     kNoTabStop},
    {"secondsLabel", Kind::Label, kSecondsLabel, 168, 120, 13, 13, texts::kSecondsLabel,
     kNoTabStop},
    {"jwwField", Kind::Edit, kJwwField, 168, 36, 377, 21, "", 0},
    {"jwwBrowse", Kind::Button, kJwwBrowse, 544, 35, 43, 22, texts::kBrowse, 1},
    {"otherField", Kind::Edit, kOtherField, 168, 60, 377, 21, "", 2},
    {"otherBrowse", Kind::Button, kOtherBrowse, 544, 59, 43, 22, texts::kBrowse, 3},
    {"figureField", Kind::Edit, kFigureField, 168, 84, 377, 21, "", 4},
    {"figureBrowse", Kind::Button, kFigureBrowse, 544, 83, 43, 22, texts::kBrowse, 5},
    {"helpMemo", Kind::Memo, kHelpMemo, 200, 112, 385, 121, "", 6},
    {"startButton", Kind::Button, kStartButton, 80, 240, 113, 25, texts::kButtonStart, 7},
    {"stopButton", Kind::Button, kStopButton, 240, 240, 113, 25, texts::kButtonStop, 8},
    {"exitButton", Kind::Button, kExitButton, 400, 240, 113, 25, texts::kButtonExit, 9},
    {"statusLine", Kind::StatusLine, kStatusLine, 0, 272, 591, 19, "", 10},
    {"intervalField", Kind::Edit, kIntervalField, 104, 116, 57, 21, "", 11},
    {"autoStartBox", Kind::CheckBox, kAutoStartBox, 8, 144, 185, 17, texts::kCheckAutoStart, 12},
    {"startMinimisedBox", Kind::CheckBox, kStartMinimisedBox, 8, 168, 185, 17,
     texts::kCheckMinimized, 13},
}};

constexpr std::array<int, kControlCount> kWindowOrder{
    kJwwLabel,      kJwwField,      kJwwBrowse,    kOtherLabel,   kOtherField,
    kOtherBrowse,   kFigureLabel,   kFigureField,  kFigureBrowse, kBanner,
    kHelpMemo,      kStartButton,   kStopButton,   kExitButton,   kStatusLine,
    kIntervalLabel, kIntervalField, kSecondsLabel, kAutoStartBox, kStartMinimisedBox,
};

}  // namespace

const std::array<Control, kControlCount>& Controls() { return kControls; }

const std::array<int, kControlCount>& WindowOrder() { return kWindowOrder; }

std::string HelpText() {
    std::string text;
    for (int i = 0; i < texts::kHelpLineCount; ++i) {
        if (i > 0) text += "\r\n";
        text += texts::kHelpLines[i];
    }
    return text;
}

}  // namespace layout
