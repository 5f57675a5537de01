// Win32 only. Paging through the catalogue: each button press starts a loader thread that
// reads one list page; the timer advances the progress bar meanwhile.
#pragma once

#include "ui/control_event.h"

void StartPageLoad(const ControlEvent& event);       // 按钮1 clicked
void GoToNextPage(const ControlEvent& event);        // 按钮2 clicked
void GoToPreviousPage(const ControlEvent& event);    // 按钮3 clicked
void AdvanceLoadProgress(const ControlEvent& event); // 时钟1 ticked
