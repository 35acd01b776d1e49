// The program's texts, written here as they read, against the code page 932
// bytes the program holds. Converting needs iconv, so this runs off Windows.
#ifndef _WIN32

#include "app/texts.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <memory>
#include <string>

#include "expected/help_text.h"

namespace {

// UTF-8 to code page 932; fails the test on a character without a mapping.
std::string ToCp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv has no CP932";
        return {};
    }
    std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::string in = utf8;
    std::string out(in.size() * 2 + 8, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        ADD_FAILURE() << "cannot convert \"" << utf8 << "\": errno " << errno;
        return {};
    }
    out.resize(out.size() - outLeft);
    return out;
}

struct Named {
    const char* name;
    const char* held;
    const char* expected;
};

void ExpectSame(const Named& text) {
    EXPECT_EQ(std::string(text.held), ToCp932(text.expected)) << text.name;
}

}  // namespace

TEST(Texts, StatusTexts) {
    for (const Named& t : {
             Named{"kStatusReady", texts::kStatusReady, "各設定を行い[開始]クリックでスタートです"},
             Named{"kStatusStarted", texts::kStatusStarted, "検索開始します..."},
             Named{"kStatusStopped", texts::kStatusStopped,
                   "中断しました。各設定を行い[開始]クリックでリスタートです"},
             Named{"kStatusSearching", texts::kStatusSearching, "検索中です..."},
             Named{"kStatusFolderMissing", texts::kStatusFolderMissing,
                   "指定フォルダが存在しません。中断をして再指定して下さい"},
             Named{"kStatusChanged", texts::kStatusChanged, "設定を変更しました"},
             Named{"kStatusResumed", texts::kStatusResumed, "検索を再開します..."},
         }) {
        ExpectSame(t);
    }
}

TEST(Texts, ErrorTexts) {
    for (const Named& t : {
             Named{"kErrorCaption", texts::kErrorCaption, "エラー"},
             Named{"kErrorNoFolder", texts::kErrorNoFolder, "フォルダの指定を行って下さい"},
             Named{"kErrorFolderMissing", texts::kErrorFolderMissing,
                   "指定したフォルダが存在しません。再指定して下さい"},
             Named{"kErrorInterval", texts::kErrorInterval,
                   "検索割込時間の入力範囲は、0.01～3600(1時間)となっています。再指定して下さい"},
             Named{"kErrorFolderName", texts::kErrorFolderName,
                   "このフォルダ名は使用できない文字を含んでいます。再指定して下さい"},
             Named{"kMsgOverflow", texts::kMsgOverflow, "浮動小数点数のオーバーフロー"},
             Named{"kMsgNoTimer", texts::kMsgNoTimer, "タイマーを取得できません"},
         }) {
        ExpectSame(t);
    }
    // The wave of "0.01～3600" is the full-width tilde, 0x81 0x60.
    EXPECT_NE(std::string(texts::kErrorInterval)
                  .find("0.01\x81\x60"
                        "3600"),
              std::string::npos);
}

TEST(Texts, ControlTexts) {
    for (const Named& t : {
             Named{"kCaption", texts::kCaption, "Dirmind Ver.1.00"},
             Named{"kAppTitle", texts::kAppTitle, "Dirmind"},
             Named{"kBannerText", texts::kBannerText,
                   "◆このソフトは Jw_cadのフォルダ関連レジストリ値を設定し続けます◆"},
             Named{"kJwwLabel", texts::kJwwLabel, "JWWファイルのフォルダ："},
             Named{"kOtherLabel", texts::kOtherLabel, "他ファイルのフォルダ："},
             Named{"kFigureLabel", texts::kFigureLabel, "図形ファイルのフォルダ："},
             Named{"kIntervalLabel", texts::kIntervalLabel, "検索割込時間："},
             Named{"kSecondsLabel", texts::kSecondsLabel, "秒"},
             Named{"kBrowse", texts::kBrowse, "参照"},
             Named{"kButtonStart", texts::kButtonStart, "開始(&S)"},
             Named{"kButtonStop", texts::kButtonStop, "中断(&E)"},
             Named{"kButtonExit", texts::kButtonExit, "終了(&X)"},
             Named{"kCheckAutoStart", texts::kCheckAutoStart, "起動時に自動的に開始"},
             Named{"kCheckMinimized", texts::kCheckMinimized, "起動時アイコン化(最小化)"},
             Named{"kDialogTitle", texts::kDialogTitle, "フォルダを選択して下さい"},
             Named{"kFullWidthSpace", texts::kFullWidthSpace, "\u3000"},
             Named{"kFontName", texts::kFontName, "ＭＳ ゴシック"},
         }) {
        ExpectSame(t);
    }
    EXPECT_EQ(std::string(texts::kFullWidthSpace), "\x81\x40");
}

TEST(Texts, HelpLines) {
    static_assert(sizeof kExpectedHelpLines / sizeof kExpectedHelpLines[0] == 37);
    ASSERT_EQ(texts::kHelpLineCount, 37);
    for (int i = 0; i < texts::kHelpLineCount; ++i) {
        EXPECT_EQ(std::string(texts::kHelpLines[i]), ToCp932(kExpectedHelpLines[i]))
            << "line " << i + 1;
    }
}

#endif  // _WIN32
