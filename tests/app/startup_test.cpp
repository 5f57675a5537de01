// Start-up and shutdown of the whole program, in a child process of this test: the child
// runs the program until its window is closed and then ends, so that the exit routine runs
// as it does for the real program.
#include "app/controls.h"
#include "app/page_regex.h"
#include "app/startup.h"

#include "win/unique_handle.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

namespace {

constexpr wchar_t kChildVariable[] = L"KAPRINO_STARTUP_CHILD";

// What the child saw while its window was open.
bool regexLiveWhileOpen = false;
bool comReadyWhileOpen = false;

// Runs last at the child's exit, after the program's exit routine (registered later).
void CheckExitOfChild() {
    const bool ok =
        ExitRoutineRuns() == 1 && pageRegex == nullptr && regexLiveWhileOpen && comReadyWhileOpen;
    std::printf("child: exit routine runs %d, regex %s, regex while open %d, com %d\n",
                ExitRoutineRuns(), pageRegex ? "alive" : "destroyed", regexLiveWhileOpen,
                comReadyWhileOpen);
    std::fflush(stdout);
    if (!ok)
        _exit(3);
}

void CALLBACK CloseTheWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND main = ControlHandle(MainWindowData().name);
    regexLiveWhileOpen = pageRegex != nullptr && IsWindowVisible(main);
    // S_FALSE: the main thread already has its apartment.
    const HRESULT hr = CoInitialize(nullptr);
    comReadyWhileOpen = hr == S_FALSE;
    if (SUCCEEDED(hr))
        CoUninitialize();
    PostMessageW(main, WM_CLOSE, 0, 0);
}

TEST(StartUpChild, RunsUntilTheWindowIsClosed) {
    if (!GetEnvironmentVariableW(kChildVariable, nullptr, 0))
        GTEST_SKIP() << "runs only in the child process";
    std::atexit(CheckExitOfChild);
    EXPECT_EQ(pageRegex, nullptr);
    SetTimer(nullptr, 0, 300, CloseTheWindow);
    EXPECT_EQ(RunKaprino(GetModuleHandleW(nullptr)), 0);
    EXPECT_EQ(ControlHandle(MainWindowData().name), nullptr); // the window is gone
    EXPECT_EQ(ExitRoutineRuns(), 0);                          // it runs at the end
}

TEST(StartUp, ClosingTheWindowEndsTheProgramAndTheExitRoutineRunsOnce) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=StartUpChild.RunsUntilTheWindowIsClosed";

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE rawRead = nullptr, rawWrite = nullptr;
    ASSERT_TRUE(CreatePipe(&rawRead, &rawWrite, &inherit, 0));
    UniqueHandle readEnd(rawRead), writeEnd(rawWrite);
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    SetEnvironmentVariableW(kChildVariable, L"1");
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    ASSERT_TRUE(started);
    UniqueHandle child(process.hProcess), thread(process.hThread);
    writeEnd.reset();

    std::string output;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        output.append(buffer, got);
    ASSERT_EQ(WaitForSingleObject(child.get(), 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    EXPECT_NE(output.find("child: exit routine runs 1, regex destroyed"), std::string::npos)
        << output;
}

} // namespace
