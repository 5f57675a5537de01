#include "http/cookie_text.h"

#include "text/text_ops.h"

namespace {

// Copy of a marker with every quote token standing for a double quote.
Text WithQuotes(const Text& marker) {
    return Replace(marker, kQuoteToken, "\"");
}

} // namespace

Text TextBetween(const Text& text, const Text& leftMarker, const Text& rightMarker, int start,
                 bool ignoreCase) {
    const Text left = WithQuotes(leftMarker);
    const Text right = WithQuotes(rightMarker);
    int p = Search(text, left, start, ignoreCase);
    if (p < 0)
        return Text();
    p += static_cast<int>(left.size());
    // The right marker is looked for from the first byte after the left one on.
    const int q = Search(text, right, p, ignoreCase);
    if (q < 0)
        return Text();
    return Substring(text, p, q - p);
}

Text CookieName(const Text& item) {
    const int p = Search(item, "=");
    return Trim(p < 0 ? item : Left(item, p - 1));
}

bool HasCookieName(const ItemList& items, const Text& name) {
    for (const Text& item : items) {
        if (Equal(CookieName(item), name))
            return true;
    }
    return false;
}

int FindItem(const ItemList& items, const Text& item) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (Equal(items[i], item))
            return static_cast<int>(i) + 1;
    }
    return -1;
}

Text RemoveDuplicates(const Text& text, const Text& separator) {
    ItemList kept;
    Text out;
    for (const Text& piece : Split(text, separator)) {
        if (FindItem(kept, piece) >= 0)
            continue;
        kept.push_back(piece);
        out += piece;
        out += separator;
    }
    return Left(out, static_cast<int>(out.size()) - static_cast<int>(separator.size()));
}

Text MergeCookies(Text& oldCookies, Text& newCookies) {
    oldCookies = RemoveSpaces(oldCookies);
    newCookies = RemoveSpaces(newCookies);
    const ItemList oldItems = Split(oldCookies, ";");
    ItemList merged = Split(newCookies, ";");
    // An old cookie survives when the received ones do not set it again; the check sees the
    // old items appended before it, so only the first of several equal names can be kept.
    for (const Text& item : oldItems) {
        if (!HasCookieName(merged, CookieName(item)))
            merged.push_back(item);
    }
    oldCookies.clear();
    for (const Text& item : merged) {
        // A cookie whose value is "deleted" is one the server removed. An empty item (from
        // ";;" or a leading ";") is no cookie: kept, it would leave "; ; " or a trailing
        // separator in the merged text.
        if (!item.empty() && !Equal(Right(item, 8), "=deleted")) {
            oldCookies += item;
            oldCookies += "; ";
        }
    }
    oldCookies = Left(oldCookies, static_cast<int>(oldCookies.size()) - 2);
    oldCookies = RemoveDuplicates(oldCookies, "; ");
    return oldCookies;
}
