// The one way Win32 sources include <windows.h>. The header defines DeleteFile, ReplaceFile and
// others as macros for the A/W variants, which would rename FileSystemObject's methods in
// every source that sees it; Win32 code calls the W functions by their full names instead.
#pragma once

#ifndef _WIN32
#error "win32_headers.h is for Win32 sources only"
#endif

#include <windows.h>

#undef DeleteFile
#undef CreateFile
#undef MoveFile
#undef ReplaceFile
#undef GetTempFileName
