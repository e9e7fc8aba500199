// Helpers for the fixed-size, NUL-terminated text buffers the records use.
#pragma once

#include <cstddef>
#include <string>

#include "platform/ascii_case.h"

// Lets the compiler check the arguments of a printf-style function. MinGW's
// own printf (C99 conversions such as %zu) is the one the Windows build uses.
#ifdef __MINGW_PRINTF_FORMAT
#define VALMERO_PRINTF(formatArg, firstArg) __attribute__((format(__MINGW_PRINTF_FORMAT, formatArg, firstArg)))
#else
#define VALMERO_PRINTF(formatArg, firstArg) __attribute__((format(printf, formatArg, firstArg)))
#endif

namespace valmero {

// Copies at most size-1 bytes of src and terminates; the rest of dst is left
// as it was. Returns false when src had to be cut.
bool CopyText(char* dst, std::size_t size, const char* src);

// printf into a fixed buffer. Returns false (and leaves dst empty) when the
// result does not fit: a path that would be cut must not be used at all.
bool FormatPath(char* dst, std::size_t size, const char* format, ...)
    VALMERO_PRINTF(3, 4);

// Cuts the text at its last line feed, if it holds one.
void CutAtLastLineFeed(char* text);
// The same for a copy: the text before its last line feed, or all of it.
std::string TextBeforeLastLineFeed(const char* text);

// The length of a text field that may be full without a terminator.
std::size_t BoundedLength(const char* text, std::size_t size);

// The leading decimal integer of a text: an optional sign, then digits up to
// the first other character; 0 without digits. Values beyond 32 bits wrap the
// way a 32-bit accumulation would, so every input gives a defined result.
int ParseLeadingInt(const char* text);

}  // namespace valmero
