// What Dirmind keeps between runs.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "util/folder_count.h"

inline constexpr double kDefaultIntervalSeconds = 5.0;

struct Settings {
    // The outer frame's top-left corner in pixels of a 96-DPI screen. The defaults do not
    // say where a window goes: the caller sets both to where its window is.
    int left = 0;
    int top = 0;
    // The folders for Jw_cad's JWW files, other files and figure files, in
    // that order; an empty one is not watched.
    std::array<std::string, kFolderCount> folders;
    double intervalSeconds = kDefaultIntervalSeconds;
    bool autoStart = false;
    bool startMinimised = false;
};
