#include "http/winhttp_fetch.h"

#include "http/body_charset.h"
#include "http/cookie_text.h"
#include "http/request_header_block.h"
#include "http/response_header_facts.h"
#include "text/encodings.h"
#include "text/regex_object.h"
#include "text/text_ops.h"
#include "win/com_apartment.h"
#include "win/pending_messages.h"
#include "win/winhttp_handle.h"

#include <windows.h>

#include <climits>
#include <exception>
#include <stdexcept>
#include <string>

namespace {

// Steps of the request whose failure has a message of its own.
enum class Failure {
    Platform = 700,
    CrackUrl = 701,
    Session = 702,
    Connection = 703,
    Request = 704,
    Timeouts = 705,
    Credentials = 707,
    CookieFeature = 708,
    Redirects = 709,
    Headers = 710,
    Send = 711,
    NoResponse = 712,
    Read = 713,
};

const wchar_t* MessageOf(Failure f) {
    switch (f) {
    case Failure::Platform:
        return L"700 当前系统不支持WinHttp服务!";
    case Failure::CrackUrl:
        return L"701 解析URL地址失败!";
    case Failure::Session:
        return L"702 创建WinHttp会话失败!";
    case Failure::Connection:
        return L"703 创建WinHttp连接失败!";
    case Failure::Request:
        return L"704 创建WinHttp请求失败!";
    case Failure::Timeouts:
        return L"705 设置超时时间失败!";
    case Failure::Credentials:
        return L"707 设置代理凭证失败!";
    case Failure::CookieFeature:
        return L"708 禁止自动设置Cookies失败!";
    case Failure::Redirects:
        return L"709 重定向设置失败!";
    case Failure::Headers:
        return L"710 设置协议头失败!";
    case Failure::Send:
        return L"711 发送请求失败!";
    case Failure::NoResponse:
        return L"712 服务器未响应!";
    case Failure::Read:
        return L"713 读取数据失败!";
    }
    return L"";
}

Bytes WideBytes(const wchar_t* units, std::size_t count) {
    Bytes wide;
    wide.reserve(count * 2 + 2);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned unit = static_cast<unsigned>(units[i]);
        wide.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    wide.push_back(0);
    wide.push_back(0);
    return wide;
}

Text MessageText(Failure f) {
    const std::wstring message = MessageOf(f);
    return WideToAnsi(WideBytes(message.data(), message.size()));
}

// The UTF-16 form of a Text for the WinHTTP calls, without the NUL unit (std::wstring adds
// its own).
std::wstring Wide(const Text& text) {
    const Bytes wide = AnsiToWide(text, true);
    std::wstring units(wide.size() / 2, L'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<wchar_t>(wide[2 * i] | (wide[2 * i + 1] << 8));
    return units;
}

const char* VerbOf(int method) {
    switch (method) {
    case 1:
        return "POST";
    case 2:
        return "HEAD";
    case 3:
        return "PUT";
    default:
        return "GET";
    }
}

struct FetchArguments {
    const Text& url;
    int method;
    const Text& body;
    Text* cookies;
    Text* receivedCookies;
    const Text& extraHeaders;
    Text* responseHeaders;
    bool noRedirect;
    const Text& userName;
    const Text& password;
    const Text& proxy;
    const Text& proxyUserName;
    const Text& proxyPassword;
    int timeoutSeconds;
    Text* redirectTarget;
    Text* statusText;
    Bytes* responseBytes;
};

// The handles of one request, declared in opening order so that they close in reverse.
struct RequestHandles {
    UniqueWinHttpHandle session;
    UniqueWinHttpHandle connection;
    UniqueWinHttpHandle request;
};

struct CrackedUrl {
    Text host;
    INTERNET_PORT port = 0;
    bool secure = false;
    std::wstring objectName;
};

bool CrackUrl(const Text& url, CrackedUrl* out) {
    const std::wstring wideUrl = Wide(url);
    URL_COMPONENTS parts;
#if defined(_M_IX86) || defined(__i386__)
    static_assert(sizeof(URL_COMPONENTS) == 60, "the record the call is documented with");
#endif
    ::ZeroMemory(&parts, sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = static_cast<DWORD>(-1);
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts))
        return false;
    out->host = parts.lpszHostName
                    ? WideToAnsi(WideBytes(parts.lpszHostName, parts.dwHostNameLength))
                    : Text();
    out->port = parts.nPort;
    out->secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (parts.dwUrlPathLength < 1 || !parts.lpszUrlPath) {
        // Without a path the query is not sent either.
        out->objectName = L"/";
    } else {
        out->objectName.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
        if (parts.lpszExtraInfo)
            out->objectName.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    }
    return true;
}

bool SetDword(HINTERNET h, DWORD option, DWORD value) {
    return ::WinHttpSetOption(h, option, &value, sizeof value) != FALSE;
}

// Reads the body in chunks of whatever is available into one growing buffer. False when a
// read failed; the bytes read before it stay in body. Throws when the body does not fit into
// memory.
bool ReadBody(HINTERNET request, Bytes* body) {
    for (;;) {
        DWORD available = 0;
        if (!::WinHttpQueryDataAvailable(request, &available) || available < 1)
            return true;
        const std::size_t at = body->size();
        // A count that would take the size past what a buffer can hold (and, added to it,
        // wrap around) is memory running out as well.
        if (available > body->max_size() - at)
            throw std::length_error("response body");
        body->resize(at + available);
        DWORD read = 0;
        if (!::WinHttpReadData(request, body->data() + at, available, &read)) {
            body->resize(at);
            return false;
        }
        body->resize(at + read);
        if (read == 0)
            return true; // the end, though it was announced as data
    }
}

// The raw response header block with CR LF line ends, or false when it cannot be had.
bool QueryRawHeaders(HINTERNET request, Text* headers) {
    DWORD length = 0;
    DWORD index = 0;
    (void)::WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF,
                                WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &length,
                                &index);
    Bytes buffer(length);
    index = 0;
    if (!::WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF,
                               WINHTTP_HEADER_NAME_BY_INDEX,
                               buffer.empty() ? nullptr : buffer.data(), &length, &index))
        return false;
    buffer.resize(std::min<std::size_t>(buffer.size(), length));
    *headers = WideToAnsi(buffer);
    return true;
}

const char kCharsetPattern[] = "<meta.+?charset=[^\\w]?([-\\w]+)";

class Fetch {
public:
    Fetch(const FetchArguments& a, RegexObject& regex) : a_(a), regex_(regex) {}

    // Runs the request; messagePasses receives how many times the pending window messages
    // are to be processed on the way out.
    Text Run(RequestHandles& h, int* messagePasses);

private:
    Text Fail(Failure f, int passes, int* messagePasses) {
        if (a_.statusText)
            *a_.statusText = MessageText(f);
        *messagePasses = passes;
        return Text();
    }
    Text DecodeCharset(const Bytes& body, const Text& text);

    const FetchArguments& a_;
    RegexObject& regex_;
};

Text Fetch::Run(RequestHandles& h, int* messagePasses) {
    *messagePasses = 0;
    if (!::WinHttpCheckPlatform())
        return Fail(Failure::Platform, 0, messagePasses);

    CrackedUrl url;
    if (!CrackUrl(a_.url, &url))
        return Fail(Failure::CrackUrl, 1, messagePasses);

    // A named proxy serves http URLs only through the "http=" form; an https URL takes it
    // as it is.
    const bool useProxy = !a_.proxy.empty();
    const std::wstring proxyName = !useProxy    ? std::wstring()
                                   : url.secure ? Wide(a_.proxy)
                                                : L"http=" + Wide(a_.proxy);
    h.session.reset(::WinHttpOpen(
        nullptr, useProxy ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
        useProxy ? proxyName.c_str() : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!h.session)
        return Fail(Failure::Session, 2, messagePasses);

    h.connection.reset(::WinHttpConnect(h.session.get(), Wide(url.host).c_str(), url.port, 0));
    if (!h.connection)
        return Fail(Failure::Connection, 3, messagePasses);

    h.request.reset(::WinHttpOpenRequest(
        h.connection.get(), Wide(VerbOf(a_.method)).c_str(), url.objectName.c_str(), nullptr,
        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, url.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!h.request)
        return Fail(Failure::Request, 4, messagePasses);
    HINTERNET request = h.request.get();

    // The wait for the response headers has a time-out of its own; without it that wait
    // is not bounded by the others.
    const int timeout = a_.timeoutSeconds <= 0                ? 30000
                        : a_.timeoutSeconds >= INT_MAX / 1000 ? INT_MAX
                                                              : a_.timeoutSeconds * 1000;
    if (!::WinHttpSetTimeouts(request, timeout, timeout, timeout, timeout) ||
        !SetDword(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, static_cast<DWORD>(timeout)))
        return Fail(Failure::Timeouts, 5, messagePasses);

    if (!a_.userName.empty() && !a_.password.empty() &&
        !::WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                                 Wide(a_.userName).c_str(), Wide(a_.password).c_str(), nullptr))
        return Fail(Failure::Credentials, 0, messagePasses);
    if (!a_.proxyUserName.empty() && !a_.proxyPassword.empty() &&
        !::WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC,
                                 Wide(a_.proxyUserName).c_str(), Wide(a_.proxyPassword).c_str(),
                                 nullptr))
        return Fail(Failure::Credentials, 0, messagePasses);

    // Without a caller's cookie text WinHTTP must neither keep nor send cookies of its own.
    const bool cookieFeatureSet =
        a_.cookies ? SetDword(request, WINHTTP_OPTION_ENABLE_FEATURE, WINHTTP_ENABLE_SSL_REVOCATION)
                   : SetDword(request, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_COOKIES);
    if (!cookieFeatureSet)
        return Fail(Failure::CookieFeature, 0, messagePasses);

    if (a_.noRedirect &&
        !SetDword(request, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS))
        return Fail(Failure::Redirects, 0, messagePasses);

    const std::wstring headerBlock = Wide(BuildRequestHeaderBlock(a_.extraHeaders, a_.cookies));
    if (!::WinHttpAddRequestHeaders(request, headerBlock.c_str(),
                                    static_cast<DWORD>(headerBlock.size()),
                                    WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE))
        return Fail(Failure::Headers, 6, messagePasses);

    const DWORD bodyLength = static_cast<DWORD>(a_.body.size());
    if (!::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              a_.body.empty() ? WINHTTP_NO_REQUEST_DATA
                                              : const_cast<char*>(a_.body.data()),
                              bodyLength, bodyLength, 0))
        return Fail(Failure::Send, 7, messagePasses);

    if (!::WinHttpReceiveResponse(request, nullptr))
        return Fail(Failure::NoResponse, 8, messagePasses);

    *messagePasses = 9;
    Bytes body;
    if (!ReadBody(request, &body) && a_.statusText)
        *a_.statusText = MessageText(Failure::Read);

    Text rawHeaders;
    if (!QueryRawHeaders(request, &rawHeaders))
        return Text();

    const ResponseHeaderFacts facts = ParseResponseHeaders(rawHeaders, ProcessPendingMessages);
    if (a_.statusText)
        *a_.statusText = facts.statusText;
    if (a_.responseHeaders)
        *a_.responseHeaders = facts.headers;
    Text received = facts.receivedCookies;
    if (a_.redirectTarget && facts.hasRedirectTarget)
        *a_.redirectTarget = facts.redirectTarget;
    if (a_.cookies)
        MergeCookies(*a_.cookies, received);
    if (a_.receivedCookies)
        *a_.receivedCookies = received;

    const Text text = ToText(body);
    Text result = DecodeCharset(body, text);
    if (a_.responseBytes)
        *a_.responseBytes = std::move(body);
    return result;
}

Text Fetch::DecodeCharset(const Bytes& body, const Text& text) {
    ComApartment apartment;
    if (!regex_.Search(kCharsetPattern, Left(text, 1024)))
        return text;
    Text result = text;
    const Text charset = regex_.SubMatchText(1, 1);
    // Only these spellings name the program's own code page; the same names in capitals
    // go through the converter like any other.
    if (!charset.empty() && charset != "gbk" && charset != "gb2312")
        result = DecodeBodyCharset(body, text, charset);
    ProcessPendingMessages();
    return result;
}

} // namespace

Text WinHttpFetch(const Text& url, int method, const Text& body, Text* cookies,
                  Text* receivedCookies, const Text& extraHeaders, Text* responseHeaders,
                  bool noRedirect, const Text& userName, const Text& password, const Text& proxy,
                  const Text& proxyUserName, const Text& proxyPassword, int timeoutSeconds,
                  Text* redirectTarget, Text* statusText, Bytes* responseBytes) {
    const FetchArguments arguments{
        url,          method,          body,          cookies,        receivedCookies,
        extraHeaders, responseHeaders, noRedirect,    userName,       password,
        proxy,        proxyUserName,   proxyPassword, timeoutSeconds, redirectTarget,
        statusText,   responseBytes};
    // Constructed first and destroyed last: its COM apartment brackets the whole call.
    RegexObject regex;
    RequestHandles handles;
    int messagePasses = 0;
    Text result;
    try {
        result = Fetch(arguments, regex).Run(handles, &messagePasses);
    } catch (const std::exception&) {
        // Memory ran out, which in a 32-bit process a large enough body makes happen while
        // it is read or copied: the body is gone with the unwinding, and the call fails as
        // one whose data could not be read, after the out-parameters written so far.
        try {
            if (statusText)
                *statusText = MessageText(Failure::Read);
        } catch (const std::exception&) {
        }
    }
    for (int i = 0; i < messagePasses; ++i)
        ProcessPendingMessages();
    handles.request.reset();
    handles.connection.reset();
    handles.session.reset();
    return result;
}
