// The Windows services the modules call. On Windows these are the system's own; elsewhere
// the platform library supplies the same names with the behaviour the modules rely on.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else

#include <cstdarg>

#if defined(GAUGE_PLATFORM_BUILD)
#define PLATFORM_API extern "C" __attribute__((visibility("default")))
#else
#define PLATFORM_API extern "C"
#endif

// Formats like the Windows user library: %[-][0][width][.precision][l|h] with the
// conversions d i u x X s c and %%. Writes at most WSPRINTF_LIMIT characters and a NUL;
// returns the number of characters written.
inline constexpr int WSPRINTF_LIMIT = 1024;
PLATFORM_API int wsprintfA(char* buffer, const char* format, ...);
PLATFORM_API int wvsprintfA(char* buffer, const char* format, va_list arguments);

#endif
