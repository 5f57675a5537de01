// Win32 only. Selecting, dragging, resizing and nudging the captions.
#pragma once

#include "ui/control_event.h"

void SelectCaption(const ControlEvent& event);
void TrackCaptionMouse(const ControlEvent& event);
void ResizeFromHandle(const ControlEvent& event);
void HideSelectionHandles(const ControlEvent& event);
void NudgeSelectedCaption(const ControlEvent& event); // argument: key code; modifiers
