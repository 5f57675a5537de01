// The request header block that the WinHTTP request sends: the caller's lines first, then
// each default line whose marker the block does not hold yet. Portable.
#pragma once

#include "text/text.h"

// Lines separated and ended by CR LF. cookies == nullptr: the caller keeps no cookie text,
// so no Cookie line; a given but empty text adds no Cookie line either.
Text BuildRequestHeaderBlock(const Text& extraHeaders, const Text* cookies);
