#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"Kaprino", L"Kaprino", MB_OK);
    return 0;
}
