// Start, Stop and the monitoring pass that keeps Jw_cad's three folder values
// in the current user's registry pinned to the configured folders.
#include <array>
#include <functional>
#include <new>
#include <string>

#include "app/Unit1.h"
#include "app/texts.h"
#include "util/Func_.h"
#include "util/sjis.h"
#include "watch/interval.h"
#include "watch/registry_key.h"

namespace {

constexpr char kMainKey[] = "SOFTWARE\\Jw_cad\\jw_win\\";
constexpr char kSection[] = "Folder";
constexpr std::uint32_t kChangedWaitMs = 500;

struct Watched {
    const std::string& folder;
    const char* valueName;
    std::string& lastRead;
};

// The folder as the registry holds it once "\" is appended: a folder typed
// without its trailing "\" is taken as if it had one, so that it compares
// equal to what was written for it and is written whole. A 0x5C that is the
// second byte of a double-byte character is no trailing "\".
std::string AsFolderText(const std::string& folder) {
    return EndsWithBackslash(folder) ? folder : folder + "\\";
}

}  // namespace

void TForm1::Button4Click() {
    FileFolder = Edit1.GetText();
    FileCFolder = Edit2.GetText();
    ZukeiFolder = Edit3.GetText();
    IntervalSec = TextToFloat(Edit4.GetText());

    const std::array<std::pair<std::string*, IEdit*>, 3> folders = {
        {{&FileFolder, &Edit1}, {&FileCFolder, &Edit2}, {&ZukeiFolder, &Edit3}}};
    for (auto [field, edit] : folders) {
        if (StripBlanks(*field).empty()) {
            field->clear();
            edit->SetText("");
        }
    }

    if (FileFolder.empty() && FileCFolder.empty() && ZukeiFolder.empty()) {
        Boxes.ShowError(texts::kErrorNoFolder);
        Edit1.SetFocus();
        return;
    }
    for (auto [field, edit] : folders) {
        if (!field->empty() && !Files.DirectoryExists(*field)) {
            Boxes.ShowError(texts::kErrorFolderMissing);
            edit->SetFocus();
            return;
        }
    }
    if (!IntervalInRange(IntervalSec)) {
        Boxes.ShowError(texts::kErrorInterval);
        Edit4.SetFocus();
        return;
    }

    // Stop is enabled first and takes the focus from an input about to be
    // locked, so that the focus never moves on to Exit by itself.
    Button5.SetEnabled(true);
    if (LockedInputHasFocus()) Button5.SetFocus();
    for (IEdit* edit : {&Edit1, &Edit2, &Edit3, &Edit4}) edit->SetEnabled(false);
    for (IButton* button : {&Button1, &Button2, &Button3, &Button4}) button->SetEnabled(false);
    SetStatus(texts::kStatusStarted);
    Timer1.SetInterval(IntervalMilliseconds(IntervalSec));
    Timer1.SetEnabled(true);
}

void TForm1::Button5Click() {
    // Interval 0 marks the watch as stopped for a pass waiting in its 500 ms.
    Timer1.SetEnabled(false);
    Timer1.SetInterval(0);
    for (IEdit* edit : {&Edit1, &Edit2, &Edit3, &Edit4}) edit->SetEnabled(true);
    for (IButton* button : {&Button1, &Button2, &Button3, &Button4}) button->SetEnabled(true);
    // Start takes the focus from Stop before Stop is disabled.
    if (Button5.HasFocus()) Button4.SetFocus();
    Button5.SetEnabled(false);
    SetStatus(texts::kStatusStopped);
}

bool TForm1::LockedInputHasFocus() const {
    for (const IEdit* edit : {&Edit1, &Edit2, &Edit3, &Edit4}) {
        if (edit->HasFocus()) return true;
    }
    for (const IButton* button : {&Button1, &Button2, &Button3, &Button4}) {
        if (button->HasFocus()) return true;
    }
    return false;
}

void TForm1::Timer1Timer() {
    Timer1.SetEnabled(false);
    SetStatus(texts::kStatusSearching);

    const std::array<Watched, 3> watched = {{{FileFolder, "File", RegFile},
                                             {FileCFolder, "FileC", RegFileC},
                                             {ZukeiFolder, "ZUKEI", RegZukei}}};

    bool foldersExist = true;
    for (const Watched& w : watched) {
        if (!w.folder.empty() && !Files.DirectoryExists(w.folder)) foldersExist = false;
    }

    if (!foldersExist) {
        SetStatus(texts::kStatusFolderMissing);
    } else {
        for (const Watched& w : watched) w.lastRead.clear();
        // A failed read leaves the fields not yet read empty; an empty field
        // never equals a folder, so those values are rewritten below.
        try {
            RegistryKey key(Registry, kMainKey);
            for (const Watched& w : watched) {
                w.lastRead = key.ReadText(kSection, w.valueName, "") + "\\";
            }
        } catch (const ERegistryError&) {
        } catch (const std::bad_alloc&) {
        }

        bool rewrite = false;
        for (const Watched& w : watched) {
            if (!w.folder.empty() && UpperCase(w.lastRead) != UpperCase(AsFolderText(w.folder))) {
                rewrite = true;
            }
        }

        if (rewrite) {
            // Values written before a failure stay written; the next pass
            // finds the rest differing and tries again.
            bool written = false;
            try {
                RegistryKey key(Registry, kMainKey);
                for (const Watched& w : watched) {
                    if (w.folder.empty()) continue;
                    const std::string text = AsFolderText(w.folder);
                    key.WriteText(kSection, w.valueName,
                                  SafeCopy(text, 1, static_cast<std::int32_t>(text.size()) - 1));
                }
                written = true;
            } catch (const ERegistryError&) {
            } catch (const std::bad_alloc&) {
            }
            if (written) {
                SetStatus(texts::kStatusChanged);
                WaitWithMessages(Application, kChangedWaitMs);
                // Stop, Exit and the window's close set the interval to 0,
                // which a running watch never has: the watch ended for good.
                if (Timer1.Interval() == 0) return;
            }
        }
        SetStatus(texts::kStatusResumed);
    }

    Timer1.SetInterval(IntervalMilliseconds(IntervalSec));
    Timer1.SetEnabled(true);
}
