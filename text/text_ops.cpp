#include "text/text_ops.h"

namespace {

unsigned char Fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

bool IsLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// Compares marker with the bytes of text from index at, which is a character boundary.
// Ignoring case folds only bytes that stand for themselves: the second byte of a two-byte
// character may look like an ASCII letter and is compared exactly.
bool MatchesAt(const Text& text, std::size_t at, const Text& marker, bool ignoreCase) {
    if (text.size() - at < marker.size())
        return false;
    bool trailByte = false;
    for (std::size_t i = 0; i < marker.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(text[at + i]);
        unsigned char b = static_cast<unsigned char>(marker[i]);
        bool fold = ignoreCase && !trailByte;
        if (fold ? Fold(a) != Fold(b) : a != b)
            return false;
        trailByte = !trailByte && IsLeadByte(marker[i]);
    }
    return true;
}

// The index of the character after the one that begins at index i.
std::size_t NextBoundary(const Text& text, std::size_t i) {
    return i + (IsLeadByte(text[i]) ? 2 : 1);
}

bool IsSpaceAt(const Text& text, std::size_t i, std::size_t* width) {
    if (text[i] == ' ') {
        *width = 1;
        return true;
    }
    if (static_cast<unsigned char>(text[i]) == 0xA1 && i + 1 < text.size() &&
        static_cast<unsigned char>(text[i + 1]) == 0xA1) {
        *width = 2;
        return true;
    }
    return false;
}

} // namespace

int Search(const Text& text, const Text& marker, int start, bool ignoreCase) {
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (from >= text.size())
        return -1;
    if (marker.empty())
        return 1;
    // Character boundaries are counted from the start position, so that a search that goes
    // on after an earlier match costs only the part it scans and repeated searches over
    // one text (Split, Replace) stay linear.
    for (std::size_t i = from; i < text.size(); i = NextBoundary(text, i)) {
        if (MatchesAt(text, i, marker, ignoreCase))
            return static_cast<int>(i) + 1;
    }
    return -1;
}

Text Substring(const Text& text, int p, int n) {
    if (p < 1 || n <= 0 || static_cast<std::size_t>(p) > text.size())
        return Text();
    return text.substr(static_cast<std::size_t>(p) - 1, static_cast<std::size_t>(n));
}

Text Left(const Text& text, int n) {
    if (n <= 0)
        return Text();
    return text.substr(0, static_cast<std::size_t>(n));
}

Text Right(const Text& text, int n) {
    if (n <= 0)
        return Text();
    std::size_t k = static_cast<std::size_t>(n);
    return k >= text.size() ? text : text.substr(text.size() - k);
}

std::vector<Text> Split(const Text& text, const Text& separator) {
    std::vector<Text> pieces;
    if (text.empty())
        return pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    int from = 1;
    for (;;) {
        int at = Search(text, separator, from);
        if (at < 0)
            break;
        pieces.push_back(
            text.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(at - from)));
        from = at + static_cast<int>(separator.size());
    }
    if (static_cast<std::size_t>(from) <= text.size())
        pieces.push_back(text.substr(static_cast<std::size_t>(from) - 1));
    return pieces;
}

Text Replace(const Text& text, const Text& oldPart, const Text& newPart, bool ignoreCase) {
    if (oldPart.empty())
        return text;
    Text out;
    out.reserve(text.size());
    int from = 1;
    for (;;) {
        int at = Search(text, oldPart, from, ignoreCase);
        if (at < 0)
            break;
        out.append(text, static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(at - from));
        out += newPart;
        from = at + static_cast<int>(oldPart.size());
    }
    if (static_cast<std::size_t>(from) <= text.size())
        out.append(text, static_cast<std::size_t>(from) - 1, Text::npos);
    return out;
}

Text RemoveSpaces(const Text& text) {
    Text out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t width = 0;
        if (IsSpaceAt(text, i, &width)) {
            i += width;
            continue;
        }
        std::size_t next = NextBoundary(text, i);
        out.append(text, i, next - i);
        i = next;
    }
    return out;
}

Text Trim(const Text& text) {
    // Leading spaces are found on character boundaries from the front.
    std::size_t begin = 0, width = 0;
    while (begin < text.size() && IsSpaceAt(text, begin, &width))
        begin += width;
    // Trailing spaces: walk the boundaries and remember where the last non-space ends.
    std::size_t end = begin;
    for (std::size_t i = begin; i < text.size();) {
        if (IsSpaceAt(text, i, &width)) {
            i += width;
            continue;
        }
        i = NextBoundary(text, i);
        end = i < text.size() ? i : text.size();
    }
    return text.substr(begin, end - begin);
}

Text LowerAscii(const Text& text) {
    Text out = text;
    for (std::size_t i = 0; i < out.size(); i = NextBoundary(out, i)) {
        out[i] = static_cast<char>(Fold(static_cast<unsigned char>(out[i])));
    }
    return out;
}
