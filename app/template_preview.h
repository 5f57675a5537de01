// Win32 only. Showing the picture of the template that the user clicked in the list.
#pragma once

#include "ui/control_event.h"

void LoadTemplatePreview(const ControlEvent& event); // 超级列表框1 clicked
