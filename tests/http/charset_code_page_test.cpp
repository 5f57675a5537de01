#include "http/charset_code_page.h"

#include <gtest/gtest.h>

TEST(CharsetCodePage, KnownNamesInAnyCaseAndUnknownOnes) {
    struct Case {
        Text name;
        unsigned codePage;
    } cases[] = {
        {"utf-8", 65001},      {"UTF-8", 65001},       {"GB2312", 936},    {"GBK", 936},
        {"gb18030", 54936},    {"big5", 950},          {"Shift_JIS", 932}, {"euc-kr", 949},
        {"iso-8859-1", 28591}, {"windows-1251", 1251}, {"x-unknown", 0},   {"", 0},
        {"utf-8-x", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CodePageOfCharset(c.name), c.codePage) << c.name;
}
