// RegexObject against the platform's real scripting regular-expression engine.
#include "text/regex_object.h"

#include "text/text.h"
#include "win/com_apartment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

// Code page 936 texts used below.
const Text kZhongWen = "\xD6\xD0\xCE\xC4";          // 中文
const Text kPandaHead = "\xD0\xDC\xC3\xA8\xCD\xB7"; // 熊猫头
const Text kEmojiPack = "\xB1\xED\xC7\xE9\xB0\xFC"; // 表情包
const Text kSpeechless = "\xCE\xDE\xD3\xEF";        // 无语
const Text kQuote = kQuoteToken;                    // #引号
const Text kHalfToken = "#\xD2\xFD";                // #引: the token without its last character

struct SearchCase {
    const char* name;
    Text pattern;
    Text subject;
    bool caseSensitive;
    bool multiLine;
    bool globalMatch;
    bool quoteToken;
    bool found;
    std::vector<Text> matches;
};

std::string CaseName(const SearchCase& c) {
    return c.name;
}

class RegexSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(RegexSearch, FindsTheMatchesTheOptionsCallFor) {
    const SearchCase& c = GetParam();
    RegexObject regex;
    EXPECT_EQ(regex.Search(c.pattern, c.subject, c.caseSensitive, c.multiLine, c.globalMatch,
                           c.quoteToken),
              c.found);
    ASSERT_EQ(regex.MatchCount(), static_cast<int>(c.matches.size()));
    for (std::size_t i = 0; i < c.matches.size(); ++i)
        EXPECT_EQ(regex.MatchText(static_cast<int>(i) + 1), c.matches[i]) << "match " << i + 1;
    // One past the last match is empty, also when there is no match at all.
    EXPECT_EQ(regex.MatchText(static_cast<int>(c.matches.size()) + 1), "");
}

const SearchCase kSearchCases[] = {
    {"DefaultsIgnoreCase",
     "abc",
     "xABCx aBc abc",
     false,
     true,
     true,
     false,
     true,
     {"ABC", "aBc", "abc"}},
    {"CaseSensitiveOnRequest", "abc", "ABC abc", true, true, true, false, true, {"abc"}},
    {"SubjectWithoutMatch", "zzz", "abc", false, true, true, false, true, {}},
    {"EmptySubject", "a", "", false, true, true, false, true, {}},
    {"UncompilablePattern", "(a", "aaa", false, true, true, false, false, {}},
    {"UnbalancedBracket", "[a", "aaa", false, true, true, false, false, {}},
    // "Singleline" is written as true but the engine has no such option: the dot still
    // stops at a line feed.
    {"DotDoesNotMatchLineFeed", "a.b", "a\nb axb", false, true, true, false, true, {"axb"}},
    {"DotSpansNoLineInLazyGroup", "<(.*?)>", "<a\nb> <c>", false, true, true, false, true, {"<c>"}},
    {"AnchorsAtEveryLine",
     "^\\w+$",
     "one\nt o\nthree\nfour",
     false,
     true,
     true,
     false,
     true,
     {"one", "three", "four"}},
    {"AnchorsAtTextEdgesWithoutMultiLine",
     "^\\w+$",
     "one\ntwo",
     false,
     false,
     true,
     false,
     true,
     {}},
    {"StartAnchorWithoutMultiLine", "^\\w+", "one\ntwo", false, false, true, false, true, {"one"}},
    {"GlobalFalseStopsAtFirst", "a.", "a1 a2 a3", false, true, false, false, true, {"a1"}},
    {"NonOverlappingLeftToRight", "aa", "aaaaa", false, true, true, false, true, {"aa", "aa"}},
    {"NonWordClass", "[^\\w]+", "ab, cd", false, true, true, false, true, {", "}},
    // The token on both sides of a lazy group finds a quoted value.
    {"QuoteTokenOn",
     kQuote + "(.*?)" + kQuote,
     "alt=\"one\" x=\"two\"",
     false,
     true,
     true,
     true,
     true,
     {"\"one\"", "\"two\""}},
    // Without the option the same pattern looks for the token itself.
    {"QuoteTokenOff",
     kQuote + "(.*?)" + kQuote,
     "alt=\"one\" " + kQuote + "two" + kQuote,
     false,
     true,
     true,
     false,
     true,
     {kQuote + "two" + kQuote}},
    // Only the exact token is replaced: a shorter prefix of it stays as written.
    {"OnlyExactTokenReplaced",
     kHalfToken + "x|" + kQuote + "y",
     kHalfToken + "x \"y",
     false,
     true,
     true,
     true,
     true,
     {kHalfToken + "x", "\"y"}},
    {"ChineseTextMatches",
     kPandaHead,
     "a" + kPandaHead + "b" + kPandaHead,
     false,
     true,
     true,
     false,
     true,
     {kPandaHead, kPandaHead}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RegexSearch, ::testing::ValuesIn(kSearchCases),
                         [](const auto& info) { return CaseName(info.param); });

TEST(RegexObject, UncompilablePatternLeavesNothingToRead) {
    RegexObject regex;
    ASSERT_TRUE(regex.Search("a", "a a"));
    EXPECT_FALSE(regex.Search("a(", "a a"));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchCount(), 0);
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
}

TEST(RegexObject, SecondSearchDiscardsTheFirst) {
    RegexObject regex;
    ASSERT_TRUE(regex.Search("(\\w)(\\w)", "ab cd ef"));
    ASSERT_EQ(regex.MatchCount(), 3);
    ASSERT_EQ(regex.SubMatchCount(), 2);

    ASSERT_TRUE(regex.Search("x(y)?", "zzz"));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.SubMatchCount(), 0);
    EXPECT_EQ(regex.GetPattern(), "x(y)?");
    // The options are those of the second call: case sensitive now.
    ASSERT_TRUE(regex.Search("ab", "AB ab", true));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.ReplaceMatches("-"), "AB -");
}

TEST(RegexObject, GroupsIncludingOneThatTookNoPart) {
    RegexObject regex;
    ASSERT_TRUE(regex.Search("(a)|(b)", "b a"));
    ASSERT_EQ(regex.MatchCount(), 2);
    EXPECT_EQ(regex.SubMatchCount(), 2);
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.SubMatchText(1, 2), "b");
    EXPECT_EQ(regex.SubMatchText(2, 1), "a");
    EXPECT_EQ(regex.SubMatchText(2, 2), "");

    int position = 99;
    EXPECT_EQ(regex.SubMatchText(1, 1, &position), "");
    EXPECT_EQ(position, -2) << "a group that took no part has no place in the subject";

    ASSERT_TRUE(regex.Search("abc", "abc"));
    EXPECT_EQ(regex.SubMatchCount(), 0);
}

struct OffsetCase {
    const char* name;
    Text pattern;
    Text subject;
    bool caseSensitive;
    int match;
    int group; // 0: the whole match
    Text text;
    int position;
};

class RegexOffset : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(RegexOffset, PositionIsSearchedFromTheEngineIndexInBytes) {
    const OffsetCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.Search(c.pattern, c.subject, c.caseSensitive));
    int position = 12345;
    Text text = c.group == 0 ? regex.MatchText(c.match, &position)
                             : regex.SubMatchText(c.match, c.group, &position);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(position, c.position);
}

const OffsetCase kOffsetCases[] = {
    {"FirstCharacter", "a", "abc", false, 1, 0, "a", 0},
    {"SecondMatchAscii", "b\\d", "b1 b2", false, 2, 0, "b2", 3},
    // The engine reports index 1; the byte search starts at position 1 and finds the same
    // two letters there first, one before where the engine matched.
    {"EqualLettersAnchoredAtEnd", "aa$", "aaa", false, 1, 0, "aa", 0},
    // Two two-byte characters before the match: two code units, four bytes.
    {"AfterDoubleByteText", "abc", kZhongWen + "abc", false, 1, 0, "abc", 4},
    {"DoubleByteMatchAfterDoubleByteText", kPandaHead, kZhongWen + "x" + kPandaHead, false, 1, 0,
     kPandaHead, 5},
    {"SecondMatchAmongDoubleByteText", "\\d+", kZhongWen + "12" + kPandaHead + "345", false, 2, 0,
     "345", 12},
    // The byte search folds case exactly when the engine did: "B" at index 2 is found as the
    // "b" before it when ignoring case, and as itself when not.
    {"FoldedSearchWhenIgnoringCase", "b", "xbB", false, 2, 0, "B", 1},
    {"ExactSearchWhenCaseSensitive", "B", "bB", true, 1, 0, "B", 1},
    {"GroupAfterDoubleByteText", "id=(\\d+)", kZhongWen + " id=42;", false, 1, 1, "42", 8},
    // A group's text is looked for from the match's index: the first occurrence of it from
    // there on, which here is inside the match before the group itself.
    {"GroupTextFoundEarlierInMatch", "a(\\w)b(a)", "xaxba", false, 1, 2, "a", 1},
    {"GroupOfSecondMatch", "(\\w)=(\\w)", kEmojiPack + "a=1 b=2", false, 2, 2, "2", 12},
};

INSTANTIATE_TEST_SUITE_P(Cases, RegexOffset, ::testing::ValuesIn(kOffsetCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegexObject, NoPositionForMatchesThatAreNotThere) {
    RegexObject regex;
    int position = 7;
    EXPECT_EQ(regex.MatchText(1, &position), "");
    EXPECT_EQ(position, -2);

    // Not global: Wine's engine does not step past an empty match and fails a global search
    // that finds one (after some seconds).
    ASSERT_TRUE(regex.Search("x*", "abc", false, true, false));
    ASSERT_GE(regex.MatchCount(), 1);
    position = 7;
    EXPECT_EQ(regex.MatchText(1, &position), "");
    EXPECT_EQ(position, -2) << "an empty match gives no text to look for";

    position = 7;
    EXPECT_EQ(regex.MatchText(99, &position), "");
    EXPECT_EQ(position, -2);
    position = 7;
    EXPECT_EQ(regex.SubMatchText(1, 1, &position), "");
    EXPECT_EQ(position, -2);
}

TEST(RegexObject, NothingToReadBeforeTheFirstSearch) {
    RegexObject regex;
    EXPECT_EQ(regex.GetPattern(), "");
    EXPECT_EQ(regex.ReplaceMatches(), "");
    EXPECT_EQ(regex.ReplaceMatches("x"), "");
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchCount(), 0);
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
}

TEST(RegexObject, PatternReadsBackAfterTheQuoteToken) {
    RegexObject regex;
    ASSERT_TRUE(regex.Search("alt=" + kQuote + "(.*?)" + kQuote, "", false, true, true, true));
    EXPECT_EQ(regex.GetPattern(), "alt=\"(.*?)\"");
    ASSERT_TRUE(regex.Search("alt=" + kQuote + kPandaHead, ""));
    EXPECT_EQ(regex.GetPattern(), "alt=" + kQuote + kPandaHead);
}

struct ReplaceCase {
    const char* name;
    Text pattern;
    Text subject;
    bool globalMatch;
    Text replacement;
    Text result;
};

class RegexReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexReplace, ReplacesTheMatchesOfTheStoredSubject) {
    const ReplaceCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.Search(c.pattern, c.subject, false, true, c.globalMatch));
    EXPECT_EQ(regex.ReplaceMatches(c.replacement), c.result);
}

const ReplaceCase kReplaceCases[] = {
    {"GroupReferences", "(\\w+)@(\\w+)", "joe@host, amy@site", true, "$2:$1", "host:joe, site:amy"},
    {"EmptyReplacementRemoves", "\\d", "a1b2c3", true, "", "abc"},
    {"FirstOnlyWithoutGlobal", "\\d", "a1b2c3", false, "#", "a#b2c3"},
    {"IgnoringCaseByDefault", "x", "xXx", true, "y", "yyy"},
    {"NoMatchKeepsSubject", "q", kZhongWen + "abc", true, "z", kZhongWen + "abc"},
    {"DoubleByteTextBothWays", "(\\w+)=", kPandaHead + " k=v", true, kEmojiPack + "$1",
     kPandaHead + " " + kEmojiPack + "kv"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RegexReplace, ::testing::ValuesIn(kReplaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegexObject, ReplaceMatchesWithDefaultRemoves) {
    RegexObject regex;
    ASSERT_TRUE(regex.Search(" +", "a  b c"));
    EXPECT_EQ(regex.ReplaceMatches(), "abc");
}

TEST(RegexObject, OutOfRangeIndicesGiveEmptyText) {
    RegexObject regex;
    ASSERT_TRUE(regex.Search("(\\w)(\\d)", "a1 b2"));
    ASSERT_EQ(regex.MatchCount(), 2);
    const int badMatches[] = {0, -1, INT_MIN, 3, INT_MAX};
    for (int n : badMatches) {
        EXPECT_EQ(regex.MatchText(n), "") << "match " << n;
        EXPECT_EQ(regex.SubMatchText(n, 1), "") << "match " << n;
    }
    const int badGroups[] = {0, -1, INT_MIN, 3, INT_MAX};
    for (int k : badGroups)
        EXPECT_EQ(regex.SubMatchText(1, k), "") << "group " << k;
    // The good ones still answer after all that.
    EXPECT_EQ(regex.SubMatchText(2, 2), "2");
}

TEST(RegexObject, CopySharesMatchesAndOutlivesTheOriginal) {
    auto original = std::make_unique<RegexObject>();
    ASSERT_TRUE(original->Search("(\\w+)=(\\d+)", "a=1 " + kZhongWen + " bb=22"));
    std::unique_ptr<RegexObject> copy(original->Copy());
    ASSERT_NE(copy, nullptr);
    original.reset();

    EXPECT_EQ(copy->MatchCount(), 2);
    int position = 0;
    EXPECT_EQ(copy->MatchText(2, &position), "bb=22");
    EXPECT_EQ(position, 9);
    EXPECT_EQ(copy->SubMatchText(2, 1), "bb");
    EXPECT_EQ(copy->SubMatchCount(), 2);
    EXPECT_EQ(copy->GetPattern(), "(\\w+)=(\\d+)");
    EXPECT_EQ(copy->ReplaceMatches("$2"), "1 " + kZhongWen + " 22");

    // A copy searches on its own without disturbing a copy of itself.
    std::unique_ptr<RegexObject> second(copy->Copy());
    ASSERT_TRUE(copy->Search("z", "zz"));
    EXPECT_EQ(copy->MatchCount(), 2);
    EXPECT_EQ(second->MatchCount(), 2);
    EXPECT_EQ(second->MatchText(1), "a=1");
}

TEST(RegexObject, CopyOfFreshInstanceHasNothingToRead) {
    RegexObject fresh;
    std::unique_ptr<RegexObject> copy(fresh.Copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->MatchCount(), 0);
    EXPECT_EQ(copy->GetPattern(), "");
    EXPECT_TRUE(copy->Search("a", "a"));
}

// The catalogue list page: one template per match of the list pattern, id and title as
// groups 1 and 2.
TEST(RegexObject, ListPagePatternOnSamplePage) {
    const Text listPattern = "<li><a href=\"make.aspx\\?id=(.*?)\"><div class=\"image\">"
                             "<img alt=\"(.*?)\" src=";
    ASSERT_EQ(listPattern.size(), 74u);
    const Text page =
        "<html><head><title>" + kEmojiPack +
        "</title></head><body><ul>\r\n"
        "<li><a href=\"make.aspx?id=1021\"><div class=\"image\"><img alt=\"" +
        kPandaHead +
        "\" src=\"/s/1021.jpg\"></div></a></li>\r\n"
        // Upper-case tags match too: the list is searched ignoring case.
        "<LI><A HREF=\"make.aspx?id=77\"><DIV CLASS=\"image\"><IMG ALT=\"" +
        kSpeechless + " &amp; " + kEmojiPack +
        "\" src=\"/s/77.jpg\"></div></a></li>\n"
        // Broken over two lines: no match.
        "<li><a href=\"make.aspx?id=5\"><div class=\"image\">\n<img alt=\"x\" src=\"/s/5.jpg\">\n"
        // An empty title still makes a row.
        "<li><a href=\"make.aspx?id=9\"><div class=\"image\"><img alt=\"\" src=\"/s/9.jpg\">"
        "</div></a></li><li><a href=\"make.aspx?id=abc\"><div class=\"image\"><img alt=\"t\" "
        "src=\"/s/abc.jpg\"></li>\n"
        "</ul></body></html>\n";

    RegexObject regex;
    regex.Search(listPattern, page);
    ASSERT_EQ(regex.MatchCount(), 4);
    const Text ids[] = {"1021", "77", "9", "abc"};
    const Text titles[] = {kPandaHead, kSpeechless + " &amp; " + kEmojiPack, "", "t"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(regex.SubMatchText(i + 1, 1), ids[i]) << "row " << i + 1;
        EXPECT_EQ(regex.SubMatchText(i + 1, 2), titles[i]) << "row " << i + 1;
    }
}

// The catalogue loader's use: the instance is searched on a worker thread that has COM for
// itself, the thread ends, and the next search (on another thread) releases what the first
// one left.
DWORD WINAPI SearchOnWorker(void* param) {
    auto* regex = static_cast<RegexObject*>(param);
    ComApartment apartment;
    regex->Search("(\\d)", "1 2 3");
    return 0;
}

TEST(RegexObject, ObjectsMadeOnAnEndedThreadAreReleasedByTheNextSearch) {
    RegexObject regex;
    HANDLE thread = ::CreateThread(nullptr, 0, SearchOnWorker, &regex, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    ASSERT_TRUE(regex.Search("b", "abc"));
    EXPECT_EQ(regex.MatchCount(), 1);
}

} // namespace
