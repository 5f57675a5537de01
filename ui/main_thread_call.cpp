#include "ui/main_thread_call.h"

#include <atomic>
#include <exception>

namespace {

constexpr wchar_t kClassName[] = L"KaprinoMainThreadCalls";
constexpr UINT kRunOperation = WM_APP + 1;

std::atomic<HWND> callWindow{nullptr};
std::atomic<DWORD> mainThreadId{0};

struct PendingCall {
    const std::function<void()>* operation;
    bool ran = false;
    std::exception_ptr failure;
};

LRESULT CALLBACK CallProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kRunOperation) {
        auto* call = reinterpret_cast<PendingCall*>(lp);
        call->ran = true;
        try {
            (*call->operation)();
        } catch (...) {
            call->failure = std::current_exception();
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

void OpenMainThreadCalls() {
    mainThreadId = GetCurrentThreadId();
    if (callWindow.load())
        return;
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CallProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    callWindow = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
}

void CloseMainThreadCalls() {
    if (HWND hwnd = callWindow.exchange(nullptr))
        DestroyWindow(hwnd);
}

bool OnMainThread() {
    return GetCurrentThreadId() == mainThreadId.load();
}

bool CallOnMainThread(const std::function<void()>& operation) {
    if (OnMainThread()) {
        operation();
        return true;
    }
    HWND hwnd = callWindow.load();
    if (!hwnd)
        return false;
    PendingCall call;
    call.operation = &operation;
    // Blocks this thread until the main thread's window procedure has returned; fails at
    // once when the window no longer exists.
    SendMessageW(hwnd, kRunOperation, 0, reinterpret_cast<LPARAM>(&call));
    if (call.failure)
        std::rethrow_exception(call.failure);
    return call.ran;
}
