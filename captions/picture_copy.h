// Win32 only. Copying the picture area, captions included, to the clipboard.
#pragma once

#include "ui/control_event.h"

void CopyPictureToClipboard(const ControlEvent& event);
