// Win32 only. The about box: a modal message box owned by the main window.
#pragma once

#include "ui/control_event.h"

void ShowAboutBox(const ControlEvent& event); // 按钮5 clicked
