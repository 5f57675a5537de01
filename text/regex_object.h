// Win32 only. One compiled pattern and the result of running it over one subject, on the
// platform's scripting regular-expression engine ("VBScript.RegExp", driven by name).
//
// Indices given by a caller are 1-based; positions returned are 0-based byte offsets in the
// subject Text. Every failure of the engine (object not available, pattern that does not
// compile, index out of range) yields the empty value of its kind; nothing throws.
//
// An instance is used by one thread at a time, and that thread must have COM initialised.
// Construction initialises COM on the constructing thread and destruction releases it once;
// a copy does the same for itself, so each instance keeps the apartment it was made in open
// for as long as it holds references into it.
#pragma once

#include "text/text.h"
#include "win/com_ptr.h"
#include "win/unique_variant.h"

#include <oaidl.h>

class RegexObject {
public:
    RegexObject();
    virtual ~RegexObject();
    // Shares the engine and the matches of other (one more reference each) and copies its
    // subject.
    RegexObject(const RegexObject& other);
    RegexObject& operator=(const RegexObject&) = delete;

    // A new instance made as by the copy constructor; null when memory runs out.
    virtual RegexObject* Copy() const;

    // Compiles pattern with a fresh engine and runs it over subject, dropping everything of
    // the previous search. With quoteToken, every kQuoteToken in pattern stands for a double
    // quote. True when the engine returned a match collection, also an empty one.
    virtual bool Search(const Text& pattern, const Text& subject, bool caseSensitive = false,
                        bool multiLine = true, bool globalMatch = true, bool quoteToken = false);

    // The engine's pattern (after the quote-token replacement); empty before any search.
    virtual Text GetPattern() const;
    // The subject with the matches replaced ("$1" and so on name groups); empty before any
    // search.
    virtual Text ReplaceMatches(const Text& replacement = Text()) const;

    virtual int MatchCount() const;
    // Match n. When position is given it receives the match's byte offset, found by
    // searching the subject for the match text from the byte position equal to the
    // engine's character index (case folded as the search was); -2 when that finds nothing
    // or there is no such match.
    virtual Text MatchText(int n, int* position = nullptr) const;
    // Group k of match n; the empty text for a group that took no part in the match. The
    // position is that of the first occurrence of the group's text from the match's index
    // on, found as for MatchText.
    virtual Text SubMatchText(int n, int k, int* position = nullptr) const;
    // Number of groups of the first match; 0 when there is no match.
    virtual int SubMatchCount() const;

private:
    ComPtr<IDispatch> MatchItem(int n) const;
    int BytePosition(IDispatch* match, const Text& found) const;

    ComPtr<IDispatch> engine_;
    ComPtr<IDispatch> matches_;
    UniqueVariant subject_;
};
