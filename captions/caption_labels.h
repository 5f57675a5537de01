// Win32 only. Handlers of the caption editing controls, and the routing of the caption and
// handle-label events set up when the main window has been created.
#pragma once

#include "ui/control_event.h"

void SetCaptionText(const ControlEvent& event);      // 编辑框1 / 编辑框2 changed
void SetCaptionColour(const ControlEvent& event);    // 颜色选择器1 / 颜色选择器2 picked
void StepCaptionFontSize(const ControlEvent& event); // 调节器1 / 调节器2, argument 1 or -1
void SetCaptionsBold(const ControlEvent& event);     // 选择框1 clicked
void RouteCaptionEvents(const ControlEvent& event);  // main window created
