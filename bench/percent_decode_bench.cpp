// Throughput of percent-decoding a 1 MiB page beside a plain copy of the same bytes,
// measured in one run. Natively it measures the %XX scan alone; in the Windows build also
// the whole PercentDecode with fromUtf8, which goes through the Win32 converters.
#include "text/encodings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr std::size_t kPageSize = 1 << 20;

// A catalogue list page: markup with titles in percent-encoded UTF-8.
Text ListPage() {
    // "中文表情 搞笑" as UTF-8 escapes.
    const Text row = "<li><a href=\"/face/make.aspx?id=12345\" title=\"%E4%B8%AD%E6%96%87"
                     "%E8%A1%A8%E6%83%85%20%E6%90%9E%E7%AC%91\"><img src=\"/face/store/face/"
                     "0000012345/s.jpg\"/>%E4%B8%AD%E6%96%87%E8%A1%A8%E6%83%85</a></li>\n";
    Text page;
    page.reserve(kPageSize + row.size());
    while (page.size() < kPageSize)
        page += row;
    page.resize(kPageSize);
    return page;
}

// Every byte escaped: UTF-8 of 中 over and over.
Text FullyEscapedPage() {
    Text page;
    page.reserve(kPageSize + 9);
    while (page.size() < kPageSize)
        page += "%E4%B8%AD";
    page.resize(kPageSize - kPageSize % 9);
    return page;
}

volatile std::size_t sink;

// Best seconds per run of work over several rounds of repeated runs.
double SecondsPerRun(const std::function<std::size_t()>& work) {
    using Clock = std::chrono::steady_clock;
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        int runs = 0;
        const Clock::time_point begin = Clock::now();
        double elapsed = 0;
        do {
            sink = work();
            ++runs;
            elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
        } while (elapsed < 0.2);
        best = std::min(best, elapsed / runs);
    }
    return best;
}

void Report(const char* name, const Text& page, const std::function<std::size_t()>& work,
            double copySeconds) {
    const double seconds = SecondsPerRun(work);
    const double mib = static_cast<double>(page.size()) / (1 << 20);
    std::printf("  %-34s %9.1f MiB/s   %6.2fx the copy time\n", name, mib / seconds,
                seconds / copySeconds);
}

void Measure(const char* title, const Text& page) {
    std::printf("%s (%zu bytes)\n", title, page.size());
    const double copySeconds = SecondsPerRun([&] { return Text(page).size(); });
    std::printf("  %-34s %9.1f MiB/s\n", "copy",
                static_cast<double>(page.size()) / (1 << 20) / copySeconds);
    Report(
        "PercentDecodeBytes", page, [&] { return PercentDecodeBytes(page).size(); }, copySeconds);
#ifdef _WIN32
    Report(
        "PercentDecode, fromUtf8", page, [&] { return PercentDecode(page, true).size(); },
        copySeconds);
#endif
}

} // namespace

int main() {
    Measure("list page, titles escaped", ListPage());
    Measure("every byte escaped", FullyEscapedPage());
    return 0;
}
