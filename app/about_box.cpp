#include "app/about_box.h"

#include "app/control_registry.h"

#include <windows.h>

void ShowAboutBox(const ControlEvent&) {
    // Owned by the main window, which takes no input until the box is closed.
    MessageBoxW(MainWindowHandle(), L"KaprinoV3.1", L"关于", MB_OK | MB_ICONINFORMATION);
}
