#include "app/control_text.h"

#include <climits>

#include <windows.h>

namespace {
constexpr UINT kTextCodePage = 936;
}

std::wstring WideFromText(const Text& text) {
    if (text.empty() || text.size() > INT_MAX)
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(kTextCodePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written =
        MultiByteToWideChar(kTextCodePage, 0, text.data(), length, wide.data(), needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

Text TextFromWide(const wchar_t* wide, std::size_t length) {
    if (!wide || length == 0 || length > INT_MAX)
        return Text();
    const int units = static_cast<int>(length);
    const int needed =
        WideCharToMultiByte(kTextCodePage, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return Text();
    Text text(static_cast<std::size_t>(needed), '\0');
    const int written =
        WideCharToMultiByte(kTextCodePage, 0, wide, units, text.data(), needed, nullptr, nullptr);
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return text;
}
