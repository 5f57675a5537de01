#include "captions/selection_handles.h"

// Placeholders until selection and the handles are written.
void SelectCaption(const ControlEvent&) {}
void TrackCaptionMouse(const ControlEvent&) {}
void ResizeFromHandle(const ControlEvent&) {}
void HideSelectionHandles(const ControlEvent&) {}
void NudgeSelectedCaption(const ControlEvent&) {}
