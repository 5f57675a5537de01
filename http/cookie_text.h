// Pure routines over Text shared by the two request routines: text between markers and the
// merging of cookie texts. None of them keeps state or fails.
#pragma once

#include "text/text.h"

#include <vector>

using ItemList = std::vector<Text>;

// What lies between the first leftMarker at or after start and the first rightMarker after
// it; empty when either is missing. kQuoteToken in a marker stands for a double quote.
Text TextBetween(const Text& text, const Text& leftMarker, const Text& rightMarker, int start = 1,
                 bool ignoreCase = false);

Text CookieName(const Text& item);
bool HasCookieName(const ItemList& items, const Text& name);
Text RemoveDuplicates(const Text& text, const Text& separator);
int FindItem(const ItemList& items, const Text& item);
// Both parameters are updated: oldCookies receives the merged text (also the result),
// newCookies its own value without spaces.
Text MergeCookies(Text& oldCookies, Text& newCookies);
