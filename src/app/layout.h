// The main window as data: its frame, every control with its place, size,
// text and tab place, and the fixed help text. Places, sizes and font heights
// are pixels at 96 pixels per inch; the window scales them to its display's.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace layout {

struct Colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

inline constexpr int kClientWidth = 591;
inline constexpr int kClientHeight = 291;
// Top-left corner of the outer frame, in pixels of a 96-dpi screen as the
// saved position, until the settings move it.
inline constexpr int kInitialLeft = 192;
inline constexpr int kInitialTop = 107;

// Character heights in pixels of the window font and of the banner's font.
inline constexpr int kFontHeight = 13;
inline constexpr int kBannerFontHeight = 15;

inline constexpr Colour kBackground{255, 255, 255};
inline constexpr Colour kBannerColour{166, 202, 240};      // sky blue
inline constexpr Colour kStatusLineColour{192, 220, 192};  // money green

// The interval field takes at most this many bytes of Shift-JIS text from the user.
inline constexpr int kIntervalMaxBytes = 8;

enum class Kind { Banner, Label, Edit, Button, CheckBox, Memo, StatusLine };

// Control identifiers. None is 1 or 2, which the dialog manager reserves for
// the default (Enter) and cancel (Esc) buttons: the window has neither.
enum ControlId : int {
    kBanner = 101,
    kJwwLabel,
    kOtherLabel,
    kFigureLabel,
    kIntervalLabel,
    kSecondsLabel,
    kJwwField,
    kJwwBrowse,
    kOtherField,
    kOtherBrowse,
    kFigureField,
    kFigureBrowse,
    kHelpMemo,
    kStartButton,
    kStopButton,
    kExitButton,
    kStatusLine,
    kIntervalField,
    kAutoStartBox,
    kStartMinimisedBox,
};

inline constexpr int kNoTabStop = -1;

struct Control {
    const char* name;
    Kind kind;
    int id;
    int left;
    int top;
    int width;
    int height;
    const char* text;  // code page 932; the help memo's text comes from HelpText()
    int tab;           // place in the tab order, or kNoTabStop
};

inline constexpr int kControlCount = 20;

// In the order of creation. The labels' widths are those of their texts in
// the window font.
const std::array<Control, kControlCount>& Controls();

// The controls by id in their order in the window (the z-order): the
// focusable ones in their tab order, each label directly before the field it
// names (screen readers name a field after the static text before it), and
// the banner before the help memo, which has no label of its own.
const std::array<int, kControlCount>& WindowOrder();

// The 37 help lines joined with CR LF.
std::string HelpText();

}  // namespace layout
