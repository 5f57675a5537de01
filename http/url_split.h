// Host, port and path of a URL, cut from the text itself (no platform URL parser). Every
// input has a result.
#pragma once

#include "text/text.h"

#include <optional>

// The host, lower-cased. Whether labelCount is given selects the mode.
Text UrlHost(const Text& url, bool rootOnly = false, bool keepPort = false,
             std::optional<int> labelCount = std::nullopt);
int UrlPort(const Text& url);
// Path and query, beginning with "/".
Text UrlPath(const Text& url);
