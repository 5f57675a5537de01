// Win32. Turns a page body into Text from the charset the page declares: first through the
// platform's ADO stream object, and when that object cannot be created or any of its steps
// fails, through the code-page converter with the code page of the charset name. When
// neither knows the charset the text stays as it was.
#pragma once

#include "text/text.h"

enum class CharsetRoute {
    Stream,      // the ADO stream read the body in the charset
    CodePage,    // the code-page converter did
    Unconverted, // no converter knew the charset (or the body was empty): text kept
};

// The ProgID of the platform's stream object. Tests pass another (or nullptr, to skip the
// stream) to reach the paths where it cannot be had.
extern const wchar_t kAdodbStreamProgId[];

// body: every byte of the page; text: the body up to its first zero byte, returned when
// neither converter applies. COM must be initialised on the calling thread. route, when
// given, receives the way the result was made.
Text DecodeBodyCharset(const Bytes& body, const Text& text, const Text& charset,
                       const wchar_t* streamProgId = kAdodbStreamProgId,
                       CharsetRoute* route = nullptr);
