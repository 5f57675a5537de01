#include "win/com_apartment.h"

#include <objbase.h>

#include <cstdint>

namespace {

// Open InitCom calls of this thread, innermost last: bit i of succeeded tells whether the
// (i+1)-th one had initialised COM (S_OK or S_FALSE, both of which need their
// CoUninitialize). Nesting deeper than the bits reach is counted without order in
// deepSucceeded; it does not occur in this program. Plain values, so that threads made
// with CreateThread need nothing torn down at their end.
struct OpenInits {
    unsigned depth;
    std::uint64_t succeeded;
    unsigned deepSucceeded;
};
constexpr unsigned kTrackedDepth = 64;

thread_local OpenInits openInits = {0, 0, 0};

} // namespace

// A single-threaded apartment.
void InitCom() {
    bool ok = SUCCEEDED(::CoInitialize(nullptr));
    OpenInits& open = openInits;
    if (open.depth < kTrackedDepth) {
        std::uint64_t bit = std::uint64_t(1) << open.depth;
        open.succeeded = ok ? (open.succeeded | bit) : (open.succeeded & ~bit);
    } else if (ok) {
        ++open.deepSucceeded;
    }
    ++open.depth;
}

void UninitCom() {
    OpenInits& open = openInits;
    if (open.depth == 0)
        return;
    --open.depth;
    bool ok;
    if (open.depth < kTrackedDepth) {
        ok = (open.succeeded >> open.depth) & 1;
    } else {
        ok = open.deepSucceeded > 0;
        if (ok)
            --open.deepSucceeded;
    }
    if (ok)
        ::CoUninitialize();
}
