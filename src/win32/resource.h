// Resource identifiers of Dirmind.exe.
#pragma once

#define IDI_DIRMIND 1
