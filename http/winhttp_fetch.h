// Win32. One complete HTTP(S) request over WinHTTP, synchronous on the calling thread: the
// response body comes back as Text, decoded from the charset that the page declares.
//
// Failures are never thrown: statusText receives a numbered message ("700 ..." to
// "713 ...") and the result is empty, except that a failure while reading the body still
// delivers what was read. A body too large for the memory of the process ends the call with
// the read failure message ("713 ...") and the empty result. An omitted out-parameter (nullptr) is
// not delivered; every out-parameter is written only where the routine says so and otherwise keeps
// the caller's value. cookies == nullptr means the caller keeps no cookie text (WinHTTP's own
// cookie handling is then switched off); a given text, even empty, is sent as the Cookie line when
// not empty and updated with the cookies that the response sets.
#pragma once

#include "text/text.h"

// method: 0 GET, 1 POST, 2 HEAD, 3 PUT, anything else GET.
// timeoutSeconds > 0: every wait of the request is bounded by that many seconds, otherwise
// by 30 s.
Text WinHttpFetch(const Text& url, int method = 0, const Text& body = Text(),
                  Text* cookies = nullptr, Text* receivedCookies = nullptr,
                  const Text& extraHeaders = Text(), Text* responseHeaders = nullptr,
                  bool noRedirect = false, const Text& userName = Text(),
                  const Text& password = Text(), const Text& proxy = Text(),
                  const Text& proxyUserName = Text(), const Text& proxyPassword = Text(),
                  int timeoutSeconds = 0, Text* redirectTarget = nullptr,
                  Text* statusText = nullptr, Bytes* responseBytes = nullptr);
