// A body that does not fit into the process's address space. The 32-bit process has 2 GB of
// it; rather than send that much, the test takes most of the address space away (reserved,
// not committed, so it costs no memory) and leaves holes too small for the growing body.
#include "http/winhttp_fetch.h"

#include "tests/http/fetch_test_support.h"
#include "tests/http/scripted_server.h"
#include "win/com_apartment.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Reserves all the address space that is still to be had, in pieces of pieceSize and then
// in smaller ones, and gives back `holes` of the large pieces, no two of them next to each
// other: no free block is then larger than one piece, while smaller allocations (thread
// stacks, heap growth) still find room. The system picks the places, so that areas it keeps
// for itself and hands out on request are taken too.
class AddressSpaceSqueeze {
public:
    AddressSpaceSqueeze(std::size_t pieceSize, int holes) {
        std::vector<void*> large;
        for (std::size_t size = pieceSize; size >= 64 * 1024; size /= 4) {
            while (void* p = ::VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS))
                (size == pieceSize ? large : pieces_).push_back(p);
        }
        std::sort(large.begin(), large.end());
        for (std::size_t i = 0; i < large.size(); ++i) {
            if (i % 2 == 1 && holes > 0) {
                ::VirtualFree(large[i], 0, MEM_RELEASE);
                --holes;
            } else {
                pieces_.push_back(large[i]);
            }
        }
    }
    ~AddressSpaceSqueeze() {
        for (void* p : pieces_)
            if (p)
                ::VirtualFree(p, 0, MEM_RELEASE);
    }
    AddressSpaceSqueeze(const AddressSpaceSqueeze&) = delete;
    AddressSpaceSqueeze& operator=(const AddressSpaceSqueeze&) = delete;

private:
    std::vector<void*> pieces_;
};

TEST(WinHttpFetchMemory, ABodyTooLargeForMemoryFailsReadingInsteadOfThrowing) {
    constexpr std::size_t kMegabyte = 1024 * 1024;
    // 12 MB fits into one 13 MB hole (the server's copy of it does), but the growing body
    // needs a 16 MB block next to its 8 MB one, which no hole offers.
    const std::string body(12 * kMegabyte, 'z');
    const std::string response = HttpResponse("HTTP/1.1 200 OK", {}, body);
    // The warm-up call asks for a small page: the heap is then not left holding the large
    // free blocks that a large body would leave behind.
    ScriptedServer server([&](const RecordedRequest& r) {
        return ServerScript{
            Send(r.target() == "/warm-up" ? HttpResponse("HTTP/1.1 200 OK", {}, "ok") : response)};
    });
    // COM stays initialised around the calls, so that the engine the charset step loads in
    // the first call is still loaded in the second.
    ComApartment apartment;
    ASSERT_EQ(FetchWithOutputs(server.url("/warm-up")).result, "ok");

    FetchOutputs out;
    bool thrown = false;
    {
        AddressSpaceSqueeze squeeze(13 * kMegabyte, 6);
        try {
            out = FetchWithOutputs(server.url("/"));
        } catch (...) {
            thrown = true;
        }
    }
    ASSERT_FALSE(thrown);
    EXPECT_EQ(out.statusText, MessageText(L"713 读取数据失败!"));
    EXPECT_TRUE(out.result.empty()) << out.result.size() << " bytes";
    EXPECT_TRUE(out.untouchedBesidesStatus());
}

} // namespace
