// Win32. Every conversion asks the converter for the size first and then converts into a
// buffer of exactly that size, with explicit lengths throughout.
#include "text/encodings.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>

namespace {

// The program's own code page. Conversions that the program relies on name it explicitly,
// so that their results do not depend on the system ANSI code page.
constexpr UINT kTextCodePage = 936;
constexpr UINT kUtf8CodePage = 65001;

// The code units of a WideText up to its first NUL unit or its end (an odd last byte is
// ignored), assembled little-endian.
std::wstring WideUnitsUpToNul(const Bytes& wide) {
    std::wstring units;
    const std::size_t count = wide.size() / 2;
    units.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        wchar_t unit = static_cast<wchar_t>(wide[2 * i] | (wide[2 * i + 1] << 8));
        if (unit == 0)
            break;
        units.push_back(unit);
    }
    return units;
}

// Decodes length bytes with the code page into code units. Empty when the converter fails
// (an unknown code page, for instance).
std::wstring DecodeUnits(const char* bytes, std::size_t length, UINT codePage) {
    if (length == 0 || length > static_cast<std::size_t>(INT_MAX))
        return std::wstring();
    const int inLength = static_cast<int>(length);
    const int units = MultiByteToWideChar(codePage, 0, bytes, inLength, nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::wstring decoded(static_cast<std::size_t>(units), L'\0');
    const int written = MultiByteToWideChar(codePage, 0, bytes, inLength, &decoded[0], units);
    decoded.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return decoded;
}

// Code units as WideText bytes, little-endian.
Bytes WideBytes(const std::wstring& units) {
    Bytes wide(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const unsigned unit = static_cast<unsigned>(units[i]);
        wide[2 * i] = static_cast<std::uint8_t>(unit & 0xFF);
        wide[2 * i + 1] = static_cast<std::uint8_t>(unit >> 8);
    }
    return wide;
}

// Encodes code units with the code page. The default-character arguments are always NULL:
// they must be for UTF-8, and characters a code page lacks then become its own default
// character.
Text EncodeFromWide(const std::wstring& units, UINT codePage, DWORD flags) {
    if (units.empty() || units.size() > static_cast<std::size_t>(INT_MAX))
        return Text();
    const int inLength = static_cast<int>(units.size());
    const int size =
        WideCharToMultiByte(codePage, flags, units.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return Text();
    Text encoded(static_cast<std::size_t>(size), '\0');
    const int written = WideCharToMultiByte(codePage, flags, units.data(), inLength, &encoded[0],
                                            size, nullptr, nullptr);
    if (written <= 0)
        return Text();
    encoded.resize(static_cast<std::size_t>(written));
    return encoded;
}

} // namespace

Bytes AnsiToWide(const Text& text, bool dropTerminator) {
    if (text.empty())
        return Bytes();
    // The terminating NUL is decoded with the text, so the result ends with a NUL unit.
    Bytes wide = WideBytes(DecodeUnits(text.c_str(), text.size() + 1, kTextCodePage));
    if (dropTerminator && wide.size() >= 2)
        wide.resize(wide.size() - 2);
    return wide;
}

Text WideToAnsi(const Bytes& wide) {
    // A base character followed by a combining mark becomes the precomposed character where
    // code page 936 has one.
    Text encoded = EncodeFromWide(WideUnitsUpToNul(wide), kTextCodePage, WC_COMPOSITECHECK);
    encoded.resize(std::min(encoded.size(), encoded.find('\0')));
    return encoded;
}

Bytes CodePageToWide(const Text& text, unsigned codePage) {
    // All bytes and then a NUL: the NUL yields the terminating unit.
    return WideBytes(DecodeUnits(text.c_str(), text.size() + 1, codePage));
}

Text WideToCodePage(const Bytes& wide, unsigned codePage) {
    // The buffer is sized by asking the converter for the target code page itself: a size
    // taken from another code page (the system ANSI one) would be too small for UTF-8.
    return EncodeFromWide(WideUnitsUpToNul(wide), codePage == 0 ? CP_ACP : codePage, 0);
}

Text Utf8ToAnsi(const Text& utf8) {
    // CodePageToWide with UTF-8, then WideToCodePage with code page 936, without passing
    // the code units through WideText bytes in between. Without the terminating NUL, which
    // the encoding would stop at anyway, a zero byte inside the text ends it the same way.
    std::wstring units = DecodeUnits(utf8.data(), utf8.size(), kUtf8CodePage);
    units.resize(std::min(units.size(), units.find(L'\0')));
    return EncodeFromWide(units, kTextCodePage, 0);
}

Text PercentDecode(const Text& text, bool fromUtf8) {
    Text decoded = PercentDecodeBytes(text);
    return fromUtf8 ? Utf8ToAnsi(decoded) : decoded;
}
