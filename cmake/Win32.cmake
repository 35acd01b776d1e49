# The Windows executable: the Win32 adapters over the portable core.
enable_language(RC)
if(MINGW)
  # One .exe with no DLL beyond Windows' own.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

file(GLOB DIRMIND_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/win32/*.cpp)
list(FILTER DIRMIND_WIN32_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(dirmind_win32 STATIC ${DIRMIND_WIN32_SOURCES})
target_link_libraries(dirmind_win32 PUBLIC dirmind_app comctl32 comdlg32 gdi32 user32 advapi32 shell32 imm32 uxtheme)

add_executable(Dirmind WIN32 src/win32/main.cpp src/win32/Dirmind.rc)
target_link_libraries(Dirmind PRIVATE dirmind_win32)
if(MINGW)
  target_link_options(Dirmind PRIVATE -municode $<$<CONFIG:Release>:-s>)
endif()

# windres reports no dependencies: the resources it reads by name. The version
# resource's numbers come from the version text of src/app/version.h.
set_source_files_properties(src/win32/Dirmind.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/Dirmind.ico;${CMAKE_SOURCE_DIR}/src/win32/Dirmind.manifest;${CMAKE_SOURCE_DIR}/src/app/version.h"
  COMPILE_DEFINITIONS "DIRMIND_VERSION_MAJOR=${DIRMIND_VERSION_MAJOR};DIRMIND_VERSION_MINOR=${DIRMIND_VERSION_MINOR}")
