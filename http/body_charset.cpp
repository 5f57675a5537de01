#include "http/body_charset.h"

#include "http/charset_code_page.h"
#include "text/encodings.h"
#include "win/late_binding.h"

#include <windows.h>

#include <cstring>
#include <optional>

const wchar_t kAdodbStreamProgId[] = L"Adodb.Stream";

namespace {

// A byte-array value (VT_ARRAY | VT_UI1) holding the bytes; empty when it cannot be made.
UniqueVariant ByteArrayOf(const Bytes& bytes) {
    UniqueVariant value;
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array)
        return value;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data))) {
        ::SafeArrayDestroy(array);
        return value;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    ::SafeArrayUnaccessData(array);
    VARIANT* slot = value.put();
    slot->vt = VT_ARRAY | VT_UI1;
    slot->parray = array;
    return value;
}

UniqueBstr BstrOf(const Text& text) {
    const Bytes wide = AnsiToWide(text, true);
    std::wstring units(wide.size() / 2, L'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<wchar_t>(wide[2 * i] | (wide[2 * i + 1] << 8));
    return UniqueBstr::FromChars(units.data(), static_cast<UINT>(units.size()));
}

Text TextOfBstr(BSTR s) {
    const UINT length = ::SysStringLen(s);
    Bytes wide;
    wide.reserve(length * 2 + 2);
    for (UINT i = 0; i < length; ++i) {
        wide.push_back(static_cast<std::uint8_t>(s[i] & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(static_cast<unsigned>(s[i]) >> 8));
    }
    wide.push_back(0);
    wide.push_back(0);
    return WideToAnsi(wide);
}

// The body read through the stream object, or nothing when the object cannot be created or
// any step fails: a failed step must not let an empty ReadText result replace the page.
std::optional<Text> DecodeWithStream(const Bytes& body, const Text& charset,
                                     const wchar_t* progId) {
    constexpr LONG kTypeBinary = 1, kTypeText = 2, kModeReadWrite = 3;
    ComPtr<IDispatch> stream;
    if (FAILED(CreateObject(progId, &stream)))
        return std::nullopt;
    const UniqueVariant bytes = ByteArrayOf(body);
    const UniqueVariant name = UniqueVariant::FromBstr(BstrOf(charset));
    if (bytes.empty() || name.empty())
        return std::nullopt;

    IDispatch* s = stream.get();
    UniqueVariant read;
    const bool opened =
        SUCCEEDED(PutProperty(s, L"Type", UniqueVariant::FromLong(kTypeBinary).get())) &&
        SUCCEEDED(PutProperty(s, L"Mode", UniqueVariant::FromLong(kModeReadWrite).get())) &&
        SUCCEEDED(CallMethod(s, L"Open", {}));
    const bool readBack =
        opened && SUCCEEDED(CallMethod(s, L"Write", {&bytes.get()})) &&
        SUCCEEDED(PutProperty(s, L"Position", UniqueVariant::FromLong(0).get())) &&
        SUCCEEDED(PutProperty(s, L"Type", UniqueVariant::FromLong(kTypeText).get())) &&
        SUCCEEDED(PutProperty(s, L"Charset", name.get())) &&
        SUCCEEDED(CallMethod(s, L"ReadText", {}, &read)) && read.type() == VT_BSTR;
    const bool closed = opened && SUCCEEDED(CallMethod(s, L"Close", {}));
    if (!readBack || !closed)
        return std::nullopt;
    return TextOfBstr(read.get().bstrVal);
}

std::optional<Text> DecodeWithCodePage(const Bytes& body, const Text& charset) {
    const unsigned codePage = CodePageOfCharset(charset);
    if (codePage == 0)
        return std::nullopt;
    const Text raw(body.begin(), body.end());
    Bytes wide = CodePageToWide(raw, codePage);
    if (wide.empty())
        return std::nullopt;
    // A byte-order mark is not part of the page's text.
    if (wide.size() >= 2 && wide[0] == 0xFF && wide[1] == 0xFE)
        wide.erase(wide.begin(), wide.begin() + 2);
    return WideToAnsi(wide);
}

} // namespace

Text DecodeBodyCharset(const Bytes& body, const Text& text, const Text& charset,
                       const wchar_t* streamProgId, CharsetRoute* route) {
    CharsetRoute way = CharsetRoute::Unconverted;
    Text result = text;
    if (!body.empty()) {
        std::optional<Text> decoded;
        if (streamProgId)
            decoded = DecodeWithStream(body, charset, streamProgId);
        if (decoded) {
            way = CharsetRoute::Stream;
        } else {
            decoded = DecodeWithCodePage(body, charset);
            if (decoded)
                way = CharsetRoute::CodePage;
        }
        if (decoded)
            result = *decoded;
    }
    if (route)
        *route = way;
    return result;
}
