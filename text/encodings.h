// Conversions between Text (code page 936), WideText (UTF-16LE code units held in Bytes,
// normally followed by one NUL code unit) and UTF-8, and percent-decoding.
// PercentDecodeBytes is portable; everything else calls the Win32 code-page converters.
#pragma once

#include "text/text.h"

// Win32. Empty Bytes for an empty text; otherwise the code units with their NUL unit, or
// without it when dropTerminator is true.
Bytes AnsiToWide(const Text& text, bool dropTerminator = false);
// Win32. Code units up to the first NUL unit (an odd last byte is ignored), in code page 936.
Text WideToAnsi(const Bytes& wide);
// Win32. All bytes decoded with the code page, followed by a NUL unit.
Bytes CodePageToWide(const Text& text, unsigned codePage = 65001);
// Win32. Code units up to the first NUL unit, encoded with the code page; 0 selects the
// system ANSI code page.
Text WideToCodePage(const Bytes& wide, unsigned codePage = 0);
// Win32. UTF-8 bytes to code page 936.
Text Utf8ToAnsi(const Text& utf8);

// Portable. The %XX scan alone: every escape replaced by its byte, malformed escapes turned
// into bytes by the digit rule, an escape that gives a zero byte adding nothing. Linear in
// the length of the text.
Text PercentDecodeBytes(const Text& text);
// Win32 (for fromUtf8). PercentDecodeBytes, then Utf8ToAnsi when fromUtf8 is true.
Text PercentDecode(const Text& text, bool fromUtf8 = false);
