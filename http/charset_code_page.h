// Code pages of the charset names that web pages declare, for converting a page with the
// platform's code-page converter. Portable.
#pragma once

#include "text/text.h"

// The code page of a charset name (ASCII letters in any case), or 0 when the name is not
// known here.
unsigned CodePageOfCharset(const Text& charset);
