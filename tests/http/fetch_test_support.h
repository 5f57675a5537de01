// Shared by the WinHTTP request tests: the out-parameters of one call, pre-filled with
// sentinels so that a test sees which ones the call wrote, and the messages as Text.
#pragma once

#include "http/winhttp_fetch.h"
#include "text/encodings.h"

#include <chrono>
#include <string>

// How much longer than its time-out a call may take in a test. The time-out bounds each
// wait; what it must tell apart is a wait that it did not bound (30 s or for ever), and a
// machine shared by several builds adds delays of its own on top.
constexpr std::chrono::milliseconds kTimeOutSlack{5000};

inline Text MessageText(const std::wstring& message) {
    Bytes wide;
    for (wchar_t unit : message) {
        wide.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(static_cast<unsigned>(unit) >> 8));
    }
    wide.push_back(0);
    wide.push_back(0);
    return WideToAnsi(wide);
}

struct FetchOutputs {
    static constexpr const char* kSentinel = "untouched";
    Text receivedCookies = kSentinel;
    Text responseHeaders = kSentinel;
    Text redirectTarget = kSentinel;
    Text statusText = kSentinel;
    Bytes responseBytes = Bytes{0xEE, 0xEE};
    Text result;
    std::chrono::milliseconds elapsed{0};

    bool untouchedBesidesStatus() const {
        return receivedCookies == kSentinel && responseHeaders == kSentinel &&
               redirectTarget == kSentinel && responseBytes == Bytes{0xEE, 0xEE};
    }
};

struct FetchInputs {
    int method = 0;
    Text body;
    Text* cookies = nullptr;
    Text extraHeaders;
    bool noRedirect = false;
    int timeoutSeconds = 2;
};

inline FetchOutputs FetchWithOutputs(const Text& url, const FetchInputs& in = FetchInputs()) {
    FetchOutputs out;
    const auto start = std::chrono::steady_clock::now();
    out.result =
        WinHttpFetch(url, in.method, in.body, in.cookies, &out.receivedCookies, in.extraHeaders,
                     &out.responseHeaders, in.noRedirect, Text(), Text(), Text(), Text(), Text(),
                     in.timeoutSeconds, &out.redirectTarget, &out.statusText, &out.responseBytes);
    out.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return out;
}
