// How many folders Dirmind keeps: one for each of Jw_cad's folder values.
#pragma once

#include <cstddef>

inline constexpr std::size_t kFolderCount = 3;
