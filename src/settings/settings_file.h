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

#include "settings/file_port.h"
#include "settings/settings.h"
#include "util/file_path.h"

// The settings file of the executable at exePath: the path cut before its
// last "." that no "\" or ":" follows, then ".dat" appended.
FilePath SettingsPathFor(const FilePath& exePath);

// Reads the file at path into a record of its own, handed over to settings
// only when the whole file was read (Done). Absent: no file there (or an
// empty path). Failed: the file is there but could not be opened or read.
// Either way settings is left as it was. An interval too large for a double
// ends the load there, but the file was read: Done, with the values before
// the interval handed over.
FileStatus LoadSettings(ISettingsFiles& files, const FilePath& path, Settings& settings);

// Writes settings to path through a temporary file beside it, which replaces
// the old file only once everything is on the disk: whatever the outcome but
// Done, the previous file is as it was. ReadOnly: a read-only file, left
// alone. Absent: an empty path, nothing written.
FileStatus SaveSettings(ISettingsFiles& files, const FilePath& path, const Settings& settings);
