// The settings file: eight lines beside the executable, every one ended by
// CR LF, texts stored as their Shift-JIS bytes without any conversion.
//
//   1 window left      decimal integer
//   2 window top       decimal integer
//   3..5 the folders   text as held
//   6 interval         the interval's text form
//   7 auto-start       "1" or "0"
//   8 start minimised  "1" or "0"
#pragma once

#include <filesystem>

#include "settings/file_port.h"
#include "settings/settings.h"

// The settings file of the executable at exePath: the path cut before its
// last "." that no "\" or ":" follows, then ".dat" appended.
std::filesystem::path SettingsPathFor(const std::filesystem::path& exePath);

// Reads the file at path into settings line by line, each value stored as soon
// as its line is read. A failure (open, read, or an interval too large for a
// double) ends the load where it happens and keeps what was stored before;
// nothing is reported. A missing file or an empty path changes nothing.
void LoadSettings(ISettingsFiles& files, const std::filesystem::path& path, Settings& settings);

// Writes settings to path through a temporary file beside it, which replaces
// the old file only once everything is on the disk: a failure at any step
// leaves the previous file as it was. Nothing is reported.
void SaveSettings(ISettingsFiles& files, const std::filesystem::path& path,
                  const Settings& settings);
