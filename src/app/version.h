// Dirmind's version, defined here and nowhere else: the window caption, the
// version resource, the build and the release packages all take it from this
// line. The form is major "." two-digit minor, as the caption shows it.
#ifndef DIRMIND_APP_VERSION_H
#define DIRMIND_APP_VERSION_H

#define DIRMIND_VERSION "1.00"

#endif
