// Fuzz target over the portable text routines: percent-decoding, the text operations,
// text between markers, cookie merging and URL splitting. Besides running them on any
// bytes under the sanitizers it checks what must hold of their results.
#include "http/cookie_text.h"
#include "http/url_split.h"
#include "text/encodings.h"
#include "text/text_ops.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Text shaped like code page 936: every byte of 0x80 or more is followed by a second byte
// in 0x40..0xFE, and no text ends inside a character. The invariants that depend on where
// characters begin are checked on such text; everything runs on raw bytes as well.
Text WellFormed(const Text& raw) {
    Text out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(raw[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (i + 1 < raw.size()) {
            out.push_back(static_cast<char>(c));
            unsigned char trail = static_cast<unsigned char>(raw[++i]);
            out.push_back(static_cast<char>(0x40 + trail % 0xBF));
        }
    }
    return out;
}

bool IsSuffix(const Text& text, const Text& suffix) {
    return suffix.size() <= text.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

Text Join(const std::vector<Text>& pieces, const Text& separator) {
    Text joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += pieces[i];
    }
    return joined;
}

// The decoding rule written out byte by byte, as the fast scan must behave.
Text PercentDecodeByRule(const Text& text) {
    static const char kDigits[] = "0123456789ABCDEF";
    auto digit = [&](std::size_t at) {
        if (at >= text.size())
            return 0;
        char c = text[at];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        const char* place = c == '\0' ? nullptr : std::strchr(kDigits, c);
        return place ? static_cast<int>(place - kDigits) : -2;
    };
    Text out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '%') {
            out += text[i++];
            continue;
        }
        const int value = (16 * digit(i + 1) + digit(i + 2)) & 0xFF;
        if (value != 0)
            out += static_cast<char>(value);
        i += 3;
    }
    return out;
}

void FuzzPercentDecode(const Text& text) {
    const Text decoded = PercentDecodeBytes(text);
    Check(decoded == PercentDecodeByRule(text), "the scan follows the decoding rule");
    Check(decoded.size() <= text.size(), "decoding never lengthens");
    if (text.find('%') == Text::npos)
        Check(decoded == text, "text without escapes is unchanged");
    if (text.find('\0') == Text::npos)
        Check(decoded.find('\0') == Text::npos, "no zero byte is produced");
}

void FuzzSearch(const Text& text, const Text& marker, int start, bool ignoreCase) {
    const int at = Search(text, marker, start, ignoreCase);
    if (at == -1)
        return;
    Check(at >= 1 && static_cast<std::size_t>(at) <= text.size(), "a match lies in the text");
    if (marker.empty()) {
        Check(at == 1, "an empty marker is found at 1");
        return;
    }
    Check(at >= start, "a match begins at or after start");
    Check(static_cast<std::size_t>(at) - 1 + marker.size() <= text.size(), "a match fits");
    const Text found = Substring(text, at, static_cast<int>(marker.size()));
    if (ignoreCase)
        Check(LowerAscii(found) == LowerAscii(marker), "a match equals the marker but for case");
    else
        Check(found == marker, "an exact match equals the marker");
}

void FuzzSplit(const Text& text, const Text& separator) {
    const std::vector<Text> pieces = Split(text, separator);
    if (text.empty()) {
        Check(pieces.empty(), "an empty text has no pieces");
        return;
    }
    const Text joined = Join(pieces, separator);
    // Joined again the pieces give the text, less a trailing separator whose empty piece
    // was dropped.
    Check(joined == text || joined + separator == text, "pieces rebuild the text");
}

void FuzzReplace(const Text& text, const Text& oldPart, const Text& newPart, bool ignoreCase) {
    const Text replaced = Replace(text, oldPart, newPart, ignoreCase);
    Check(Replace(text, oldPart, oldPart) == text, "replacing a part by itself changes nothing");
    if (Search(text, oldPart, 1, ignoreCase) == -1 || oldPart.empty())
        Check(replaced == text, "nothing to replace changes nothing");
    if (!oldPart.empty() && !ignoreCase) {
        // The replaced text is the pieces between occurrences joined by the new part; a
        // trailing empty piece that Split dropped still gets its new part.
        const std::vector<Text> pieces = Split(text, oldPart);
        Text rebuilt = Join(pieces, newPart);
        if (!text.empty() && Join(pieces, oldPart) != text)
            rebuilt += newPart;
        Check(rebuilt == replaced, "replace agrees with split");
    }
}

void FuzzSpaces(const Text& text) {
    const Text removed = RemoveSpaces(text);
    Check(Search(removed, " ") == -1, "no space is left");
    Check(Search(removed, "\xA1\xA1") == -1, "no full-width space is left");
    const Text trimmed = Trim(text);
    Check(text.find(trimmed) != Text::npos, "trimming keeps a part of the text");
    Check(Trim(trimmed) == trimmed, "trimming twice changes nothing more");
}

void FuzzTextBetween(const Text& text, const Text& left, const Text& right, int start,
                     bool ignoreCase) {
    const Text between = TextBetween(text, left, right, start, ignoreCase);
    Check(between.size() < text.size() || between.empty(), "the part is shorter than the text");
    Check(text.find(between) != Text::npos, "the part is cut out of the text");
}

void FuzzCookies(const Text& rawOld, const Text& rawNew, bool wellFormed) {
    Text oldCookies = rawOld;
    Text newCookies = rawNew;
    const Text merged = MergeCookies(oldCookies, newCookies);
    Check(merged == oldCookies, "the result is the new value of oldCookies");
    Check(newCookies == RemoveSpaces(rawNew), "newCookies loses its spaces");
    if (!wellFormed || merged.empty())
        return;
    std::set<Text> seen;
    for (const Text& item : Split(merged, "; ")) {
        Check(!item.empty(), "no merged item is empty");
        Check(Search(item, " ") == -1, "no merged item holds a space");
        Check(Search(item, ";") == -1, "no merged item holds a separator");
        Check(Right(item, 8) != "=deleted", "no merged item is deleted");
        Check(seen.insert(item).second, "no merged item is repeated");
    }
    Check(Right(merged, 2) != "; ", "the merged text does not end in a separator");
}

void FuzzUrl(const Text& url, bool rootOnly, bool keepPort, std::optional<int> labelCount) {
    const Text host = UrlHost(url, rootOnly, keepPort, labelCount);
    Check(LowerAscii(host) == host, "the host is lower-cased");
    if (!keepPort)
        Check(Search(host, ":") == -1, "a host without its port holds no colon");
    Check(UrlPort(url) >= 0, "a port is not negative");
    const Text path = UrlPath(url);
    Check(!path.empty() && path[0] == '/', "a path begins with /");
    Check(path == "/" || IsSuffix(url, path), "a path is the end of the URL");
}

// A URL put together from a host without "/" and a path: whatever letters the host holds
// (also those of the scheme), the path comes back as written.
void FuzzUrlFromParts(const Text& host, const Text& path) {
    if (host.find('/') != Text::npos)
        return;
    const Text rest = "/" + path;
    Check(UrlPath("http://" + host + rest) == rest, "the path after an http host");
    Check(UrlPath("HTTPS://" + host + rest) == rest, "the path after an https host");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int routine = in.ConsumeIntegralInRange<int>(0, 7);
    const bool flag = in.ConsumeBool();
    const bool flag2 = in.ConsumeBool();
    const int start = in.ConsumeIntegralInRange<int>(-2, 64);
    const Text a = in.ConsumeRandomLengthString(4096);
    const Text b = in.ConsumeRandomLengthString(64);
    const Text c = in.ConsumeRandomLengthString(64);
    switch (routine) {
    case 0:
        FuzzPercentDecode(a);
        break;
    case 1:
        FuzzSearch(a, b, start, flag);
        FuzzSearch(WellFormed(a), WellFormed(b), start, flag);
        break;
    case 2:
        FuzzSplit(a, b);
        FuzzSplit(WellFormed(a), WellFormed(b));
        break;
    case 3:
        FuzzReplace(a, b, c, flag);
        FuzzReplace(WellFormed(a), WellFormed(b), WellFormed(c), flag);
        break;
    case 4:
        FuzzSpaces(a);
        break;
    case 5:
        FuzzTextBetween(a, b, c, start, flag);
        break;
    case 6:
        FuzzCookies(a, b, false);
        FuzzCookies(WellFormed(a), WellFormed(b), true);
        break;
    case 7: {
        std::optional<int> labelCount;
        if (in.ConsumeBool())
            labelCount = start - 4;
        FuzzUrl(a, flag, flag2, labelCount);
        FuzzUrl(WellFormed(a), flag, flag2, labelCount);
        FuzzUrlFromParts(WellFormed(b), WellFormed(c));
        break;
    }
    }
    return 0;
}
