#include "http/charset_code_page.h"

#include "text/text_ops.h"

namespace {

struct CharsetCodePage {
    const char* name;
    unsigned codePage;
};

// Names as pages spell them (lower case), with the Windows code page that decodes them.
constexpr CharsetCodePage kCharsets[] = {
    {"utf-8", 65001},       {"utf8", 65001},        {"gbk", 936},           {"gb2312", 936},
    {"gb_2312-80", 936},    {"x-gbk", 936},         {"cp936", 936},         {"windows-936", 936},
    {"gb18030", 54936},     {"big5", 950},          {"big5-hkscs", 950},    {"cp950", 950},
    {"x-x-big5", 950},      {"shift_jis", 932},     {"shift-jis", 932},     {"sjis", 932},
    {"x-sjis", 932},        {"ms_kanji", 932},      {"windows-31j", 932},   {"cp932", 932},
    {"euc-jp", 20932},      {"iso-2022-jp", 50220}, {"euc-kr", 949},        {"ks_c_5601-1987", 949},
    {"cp949", 949},         {"windows-949", 949},   {"us-ascii", 20127},    {"ascii", 20127},
    {"iso-8859-1", 28591},  {"latin1", 28591},      {"iso-8859-2", 28592},  {"iso-8859-3", 28593},
    {"iso-8859-4", 28594},  {"iso-8859-5", 28595},  {"iso-8859-6", 28596},  {"iso-8859-7", 28597},
    {"iso-8859-8", 28598},  {"iso-8859-9", 28599},  {"iso-8859-13", 28603}, {"iso-8859-15", 28605},
    {"windows-874", 874},   {"windows-1250", 1250}, {"windows-1251", 1251}, {"windows-1252", 1252},
    {"windows-1253", 1253}, {"windows-1254", 1254}, {"windows-1255", 1255}, {"windows-1256", 1256},
    {"windows-1257", 1257}, {"windows-1258", 1258}, {"koi8-r", 20866},      {"koi8-u", 21866},
};

} // namespace

unsigned CodePageOfCharset(const Text& charset) {
    const Text name = LowerAscii(charset);
    for (const CharsetCodePage& c : kCharsets) {
        if (name == c.name)
            return c.codePage;
    }
    return 0;
}
