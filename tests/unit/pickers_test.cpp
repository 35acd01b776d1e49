// The browse buttons: the folder the dialog opens in, the preset name, and
// what a confirmed or cancelled run leaves in the field.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "app/texts.h"
#include "fakes/form_fixture.h"

namespace {

const std::string kSo = "\x83\x5C";      // ソ: its second byte is "\"
const std::string kEquals = "\x81\x81";  // ＝: two lead-range bytes
const std::string kSpace = texts::kFullWidthSpace;

// A dialog run in which the user confirms the given full path name.
std::function<bool(FakeOpenDialog&)> Confirm(std::string chosen) {
    return [chosen = std::move(chosen)](FakeOpenDialog& d) {
        d.fileName = chosen;
        return true;
    };
}

class BrowseTest : public ::testing::Test {
protected:
    // The folder the dialog is asked to open in when Edit1 holds text.
    std::string InitialFolderFor(const std::string& text) {
        f.edit1.text = text;
        f.Run([this] { f.form.Button1Click(); });
        EXPECT_EQ(1u, f.dialog.initialDirsSeen.size());
        return f.dialog.initialDirsSeen.empty() ? std::string("<no run>")
                                                : f.dialog.initialDirsSeen.back();
    }
    // What Edit1 holds after the user confirms chosen.
    std::string FieldAfterChoosing(const std::string& chosen) {
        f.edit1.text = "old";
        f.dialog.onExecute = Confirm(chosen);
        f.Run([this] { f.form.Button1Click(); });
        return f.edit1.text;
    }

    FakeForm f;
};

TEST_F(BrowseTest, InitialFolderLosesOneTrailingBackslash) {
    EXPECT_EQ("D:\\Drawings", InitialFolderFor("D:\\Drawings\\"));
}

TEST_F(BrowseTest, InitialFolderLosesOnlyOneOfTwoBackslashes) {
    EXPECT_EQ("D:\\Drawings\\", InitialFolderFor("D:\\Drawings\\\\"));
}

TEST_F(BrowseTest, InitialFolderKeepsTheBackslashOfADriveRoot) {
    EXPECT_EQ("C:\\", InitialFolderFor("C:\\"));
}

TEST_F(BrowseTest, InitialFolderKeepsALoneBackslash) { EXPECT_EQ("\\", InitialFolderFor("\\")); }

TEST_F(BrowseTest, EmptyFieldGivesNoInitialFolder) { EXPECT_EQ("", InitialFolderFor("")); }

TEST_F(BrowseTest, InitialFolderKeepsACharacterWhoseSecondByteIsABackslash) {
    EXPECT_EQ("C:\\" + kSo, InitialFolderFor("C:\\" + kSo));
    f.dialog.initialDirsSeen.clear();
    EXPECT_EQ(kSo, InitialFolderFor(kSo));
}

TEST_F(BrowseTest, InitialFolderDropsARealBackslashAfterADoubleByteCharacter) {
    EXPECT_EQ("C:\\" + kSo, InitialFolderFor("C:\\" + kSo + "\\"));
    f.dialog.initialDirsSeen.clear();
    // An even run of lead-range bytes: the "\" after it is a character of its own.
    EXPECT_EQ("C:\\" + kEquals, InitialFolderFor("C:\\" + kEquals + "\\"));
}

TEST_F(BrowseTest, FieldTextIsTakenUnchanged) {
    // Blanks are not stripped and the folder is not tested.
    EXPECT_EQ(" X:\\nowhere\\ ", InitialFolderFor(" X:\\nowhere\\ "));
}

TEST_F(BrowseTest, ConfirmingThePresetNameGivesTheFolderWithItsBackslash) {
    EXPECT_EQ("D:\\Drawings\\Site A\\", FieldAfterChoosing("D:\\Drawings\\Site A\\" + kSpace));
}

TEST_F(BrowseTest, ChoosingAFileGivesItsFolder) {
    EXPECT_EQ("D:\\Drawings\\", FieldAfterChoosing("D:\\Drawings\\a.txt"));
}

TEST_F(BrowseTest, FileNameEndingInABackslashSecondByteGivesItsFolder) {
    EXPECT_EQ("C:\\Data\\", FieldAfterChoosing("C:\\Data\\" + kSo));
}

TEST_F(BrowseTest, FolderNameEndingInABackslashSecondByteIsKept) {
    EXPECT_EQ("C:\\" + kSo + "\\", FieldAfterChoosing("C:\\" + kSo + "\\a" + kSo + ".jww"));
}

TEST_F(BrowseTest, ConfirmingWithAnEmptyFieldFillsIt) {
    f.dialog.onExecute = Confirm("C:\\Jww\\" + kSpace);
    f.Run([this] { f.form.Button1Click(); });
    EXPECT_EQ("", f.dialog.initialDirsSeen.at(0));
    EXPECT_EQ("C:\\Jww\\", f.edit1.text);
}

TEST_F(BrowseTest, FileNameIsPresetBeforeEveryRun) {
    f.edit1.text = "C:\\A\\";
    f.dialog.fileName = "leftover";
    f.dialog.onExecute = Confirm("C:\\B\\b.jww");
    f.Run([this] { f.form.Button1Click(); });
    f.Run([this] { f.form.Button1Click(); });
    f.dialog.onExecute = nullptr;
    f.Run([this] { f.form.Button1Click(); });

    ASSERT_EQ(3, f.dialog.runs);
    for (const std::string& name : f.dialog.fileNamesSeen) EXPECT_EQ(kSpace, name);
    EXPECT_EQ("C:\\A", f.dialog.initialDirsSeen[0]);
    EXPECT_EQ("C:\\B", f.dialog.initialDirsSeen[1]);
    EXPECT_EQ("C:\\B\\", f.edit1.text);
}

TEST_F(BrowseTest, CancelKeepsTypedText) {
    f.edit2.text = "typed but not saved";
    f.dialog.onExecute = [](FakeOpenDialog& d) {
        d.fileName = "C:\\Elsewhere\\x.txt";  // what the box held when cancelled
        return false;
    };
    f.Run([this] { f.form.Button2Click(); });
    EXPECT_EQ(1, f.dialog.runs);
    EXPECT_EQ("typed but not saved", f.edit2.text);
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_TRUE(f.boxes.appErrors.empty());
}

TEST_F(BrowseTest, ConfirmReplacesTypedTextInFull) {
    f.edit3.text = "C:\\Half typ";
    f.dialog.onExecute = Confirm("E:\\Zukei\\" + kSpace);
    f.Run([this] { f.form.Button3Click(); });
    EXPECT_EQ("E:\\Zukei\\", f.edit3.text);
}

struct ButtonCase {
    const char* name;
    void (TForm1::*click)();
    FakeEdit FakeForm::*edit;
};

void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.name; }

class BrowseButtonTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(BrowseButtonTest, EachButtonWorksOnItsOwnField) {
    FakeForm f;
    const ButtonCase& c = GetParam();
    f.edit1.text = "C:\\One\\";
    f.edit2.text = "C:\\Two\\";
    f.edit3.text = "C:\\Three\\";
    f.edit4.text = "5";
    (f.*c.edit).text = "D:\\Mine\\";

    f.dialog.onExecute = Confirm("D:\\Chosen\\" + kSpace);
    f.Run([&] { (f.form.*c.click)(); });

    ASSERT_EQ(1, f.dialog.runs);
    EXPECT_EQ("D:\\Mine", f.dialog.initialDirsSeen[0]);
    EXPECT_EQ("D:\\Chosen\\", (f.*c.edit).text);
    const FakeEdit* fields[] = {&f.edit1, &f.edit2, &f.edit3};
    const char* expected[] = {"C:\\One\\", "C:\\Two\\", "C:\\Three\\"};
    for (int i = 0; i < 3; ++i) {
        if (fields[i] != &(f.*c.edit)) {
            EXPECT_EQ(expected[i], fields[i]->text);
        }
    }
    EXPECT_EQ("5", f.edit4.text);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, BrowseButtonTest,
    ::testing::Values(ButtonCase{"Button1", &TForm1::Button1Click, &FakeForm::edit1},
                      ButtonCase{"Button2", &TForm1::Button2Click, &FakeForm::edit2},
                      ButtonCase{"Button3", &TForm1::Button3Click, &FakeForm::edit3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
