// The main window's client area and every control's place and size at
// 96 dpi, with the text each control is made with: what the tests expect,
// written out apart from the program's own layout table. A control is found
// by its ID.
#pragma once

#include "app/layout.h"

inline constexpr int kExpectedClientWidth = 591;
inline constexpr int kExpectedClientHeight = 291;

struct ExpectedControl {
    int id;
    int left, top, width, height;
    const wchar_t* text;  // empty for the fields, the help text and the status line
};

inline constexpr ExpectedControl kExpectedControls[] = {
    {layout::kBanner, 0, 0, 591, 33,
     L"◆このソフトは Jw_cadのフォルダ関連レジストリ値を設定し続けます◆"},
    {layout::kJwwLabel, 8, 40, 151, 13, L"JWWファイルのフォルダ："},
    {layout::kOtherLabel, 8, 64, 143, 13, L"他ファイルのフォルダ："},
    {layout::kFigureLabel, 8, 88, 156, 13, L"図形ファイルのフォルダ："},
    {layout::kIntervalLabel, 8, 120, 91, 13, L"検索割込時間："},
    {layout::kSecondsLabel, 168, 120, 13, 13, L"秒"},
    {layout::kJwwField, 168, 36, 377, 21, L""},
    {layout::kJwwBrowse, 544, 35, 43, 22, L"参照"},
    {layout::kOtherField, 168, 60, 377, 21, L""},
    {layout::kOtherBrowse, 544, 59, 43, 22, L"参照"},
    {layout::kFigureField, 168, 84, 377, 21, L""},
    {layout::kFigureBrowse, 544, 83, 43, 22, L"参照"},
    {layout::kHelpMemo, 200, 112, 385, 121, L""},
    {layout::kStartButton, 80, 240, 113, 25, L"開始(&S)"},
    {layout::kStopButton, 240, 240, 113, 25, L"中断(&E)"},
    {layout::kExitButton, 400, 240, 113, 25, L"終了(&X)"},
    {layout::kStatusLine, 0, 272, 591, 19, L""},
    {layout::kIntervalField, 104, 116, 57, 21, L""},
    {layout::kAutoStartBox, 8, 144, 185, 17, L"起動時に自動的に開始"},
    {layout::kStartMinimisedBox, 8, 168, 185, 17, L"起動時アイコン化(最小化)"},
};
