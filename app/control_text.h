// Win32 only. Texts of the window's controls: the controls hold UTF-16, the program holds
// Text in code page 936.
#pragma once

#include "text/text.h"

#include <string>

std::wstring WideFromText(const Text& text);
Text TextFromWide(const wchar_t* wide, std::size_t length);
inline Text TextFromWide(const std::wstring& wide) {
    return TextFromWide(wide.data(), wide.size());
}
