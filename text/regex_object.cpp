#include "text/regex_object.h"

#include "text/text_ops.h"
#include "win/com_apartment.h"
#include "win/late_binding.h"
#include "win/unique_bstr.h"

#include <windows.h>

#include <new>
#include <string>

namespace {

// The engine's strings are UTF-16; Text is code page 936 whatever the system's ANSI code
// page is.
constexpr UINT kTextCodePage = 936;

UniqueBstr TextToBstr(const Text& text) {
    if (text.empty())
        return UniqueBstr::FromChars(L"", 0);
    int n = ::MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()),
                                  nullptr, 0);
    if (n <= 0)
        return UniqueBstr();
    UniqueBstr s(::SysAllocStringLen(nullptr, static_cast<UINT>(n)));
    if (!s)
        return s;
    if (::MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), s.get(),
                              n) != n)
        return UniqueBstr();
    return s;
}

Text BstrToText(const UniqueBstr& s) {
    // Up to the first NUL unit: Text holds no zero byte.
    const UINT length = s.length();
    UINT units = 0;
    while (units < length && s.get()[units] != 0)
        ++units;
    if (units == 0)
        return Text();
    const int count = static_cast<int>(units);
    int n = ::WideCharToMultiByte(kTextCodePage, 0, s.get(), count, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return Text();
    Text text(static_cast<std::size_t>(n), '\0');
    if (::WideCharToMultiByte(kTextCodePage, 0, s.get(), count, &text[0], n, nullptr, nullptr) != n)
        return Text();
    return text;
}

Text VariantText(const UniqueVariant& v) {
    return BstrToText(v.ToBstr());
}

Text PropertyText(IDispatch* object, const wchar_t* name, DispatchArgs args = {}) {
    UniqueVariant v;
    if (FAILED(GetProperty(object, name, &v, args)))
        return Text();
    return VariantText(v);
}

int PropertyInt(IDispatch* object, const wchar_t* name) {
    UniqueVariant v;
    if (FAILED(GetProperty(object, name, &v)))
        return 0;
    return static_cast<int>(v.ToLongTruncated(0));
}

void PutBool(IDispatch* object, const wchar_t* name, bool value) {
    (void)PutProperty(object, name, UniqueVariant::FromBool(value).get());
}

ComPtr<IDispatch> ItemOf(IDispatch* collection, int index) {
    UniqueVariant i = UniqueVariant::FromLong(index);
    return GetObjectProperty(collection, L"Item", {&i.get()});
}

} // namespace

// The subject holds the integer 0 until the first search.
RegexObject::RegexObject() : subject_(UniqueVariant::FromLong(0)) {
    InitCom();
}

RegexObject::RegexObject(const RegexObject& other)
    : engine_(other.engine_), matches_(other.matches_), subject_(other.subject_.Duplicate()) {
    // The copy holds references into the apartment of this thread and is destroyed on its
    // own, so it keeps the apartment open for itself.
    InitCom();
}

RegexObject::~RegexObject() {
    // Every reference goes before the apartment is released.
    engine_.reset();
    matches_.reset();
    subject_.reset();
    UninitCom();
}

RegexObject* RegexObject::Copy() const {
    return new (std::nothrow) RegexObject(*this);
}

bool RegexObject::Search(const Text& pattern, const Text& subject, bool caseSensitive,
                         bool multiLine, bool globalMatch, bool quoteToken) {
    matches_.reset();
    engine_.reset();
    (void)CreateObject(L"VBScript.RegExp", &engine_);

    PutBool(engine_.get(), L"IgnoreCase", !caseSensitive);
    PutBool(engine_.get(), L"Multiline", multiLine);
    // The engine has no such property: the write fails and the dot keeps meaning any
    // character but a line feed.
    PutBool(engine_.get(), L"Singleline", true);
    PutBool(engine_.get(), L"Global", globalMatch);

    const Text compiled = quoteToken ? Replace(pattern, kQuoteToken, "\"") : pattern;
    (void)PutProperty(engine_.get(), L"Pattern",
                      UniqueVariant::FromBstr(TextToBstr(compiled)).get());

    subject_ = UniqueVariant::FromBstr(TextToBstr(subject));

    UniqueVariant result;
    if (SUCCEEDED(CallMethod(engine_.get(), L"Execute", {&subject_.get()}, &result)))
        matches_ = result.Dispatch();
    return static_cast<bool>(matches_);
}

Text RegexObject::GetPattern() const {
    if (!engine_)
        return Text();
    return PropertyText(engine_.get(), L"Pattern");
}

Text RegexObject::ReplaceMatches(const Text& replacement) const {
    if (!engine_)
        return Text();
    UniqueVariant with = UniqueVariant::FromBstr(TextToBstr(replacement));
    UniqueVariant result;
    if (FAILED(CallMethod(engine_.get(), L"Replace", {&subject_.get(), &with.get()}, &result)))
        return Text();
    return VariantText(result);
}

int RegexObject::MatchCount() const {
    if (!matches_)
        return 0;
    return PropertyInt(matches_.get(), L"Count");
}

ComPtr<IDispatch> RegexObject::MatchItem(int n) const {
    if (!matches_ || n < 1)
        return ComPtr<IDispatch>();
    return ItemOf(matches_.get(), n - 1);
}

// The byte offset of found in the subject: searched from the byte position equal to the
// match's character index, which lies at or before the match because every character of
// code page 936 takes one UTF-16 unit and one or two bytes.
int RegexObject::BytePosition(IDispatch* match, const Text& found) const {
    // Searching for nothing would answer the start of the subject, not a place of the
    // match; an empty match or a group that took no part has no position to report.
    if (found.empty())
        return -2;
    UniqueVariant ignoreCase;
    bool folded = SUCCEEDED(GetProperty(engine_.get(), L"IgnoreCase", &ignoreCase)) &&
                  ignoreCase.ToBool(false);
    const Text subject = VariantText(subject_);
    int p = ::Search(subject, found, PropertyInt(match, L"FirstIndex"), folded);
    return p >= 1 ? p - 1 : -2;
}

Text RegexObject::MatchText(int n, int* position) const {
    ComPtr<IDispatch> match = MatchItem(n);
    if (!match) {
        if (position)
            *position = -2;
        return Text();
    }
    Text value = PropertyText(match.get(), L"Value");
    if (position)
        *position = BytePosition(match.get(), value);
    return value;
}

Text RegexObject::SubMatchText(int n, int k, int* position) const {
    ComPtr<IDispatch> match = MatchItem(n);
    ComPtr<IDispatch> groups =
        match && k >= 1 ? GetObjectProperty(match.get(), L"SubMatches") : ComPtr<IDispatch>();
    UniqueVariant index = UniqueVariant::FromLong(k >= 1 ? k - 1 : 0);
    UniqueVariant group;
    if (!groups || FAILED(GetProperty(groups.get(), L"Item", &group, {&index.get()}))) {
        if (position)
            *position = -2;
        return Text();
    }
    // A group that took no part in the match reads as VT_EMPTY, which converts to "".
    Text value = VariantText(group);
    if (position)
        *position = BytePosition(match.get(), value);
    return value;
}

int RegexObject::SubMatchCount() const {
    ComPtr<IDispatch> first = MatchItem(1);
    if (!first)
        return 0;
    ComPtr<IDispatch> groups = GetObjectProperty(first.get(), L"SubMatches");
    if (!groups)
        return 0;
    return PropertyInt(groups.get(), L"Count");
}
