// Operations on Text that every part of the program shares. Positions count bytes and
// start at 1; a search answers -1 when nothing is found and finds a match only where it
// begins on a character boundary of code page 936 (a byte of 0x80 or more starts a two-byte
// character and is stepped over together with the byte after it). Ignoring case compares
// ASCII letters only.
#pragma once

#include "text/text.h"

#include <vector>

// Position of the first occurrence of marker that begins at or after byte start (a start
// below 1 counts as 1), or -1. Character boundaries are counted from start on: callers
// pass 1 or a position just after an earlier match. An empty marker is found at 1 whenever
// the part from start on is not empty.
int Search(const Text& text, const Text& marker, int start = 1, bool ignoreCase = false);

// n bytes from position p, cut at the end; empty when p < 1, p beyond the end, or n <= 0.
Text Substring(const Text& text, int p, int n);
Text Left(const Text& text, int n);
Text Right(const Text& text, int n);

// Pieces between separators (exact, at character boundaries). Empty pieces between two
// separators count; the piece after the last separator counts only when it is not empty.
std::vector<Text> Split(const Text& text, const Text& separator);

// Every occurrence of oldPart, left to right without overlap, replaced by newPart.
Text Replace(const Text& text, const Text& oldPart, const Text& newPart, bool ignoreCase = false);

// ASCII space 0x20 and the full-width space A1 A1.
Text RemoveSpaces(const Text& text);
Text Trim(const Text& text);

inline bool Equal(const Text& a, const Text& b) {
    return a == b;
}

// ASCII lower case of the whole text; bytes of two-byte characters are left alone.
Text LowerAscii(const Text& text);
