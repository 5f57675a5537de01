#include "captions/caption_labels.h"

// Placeholders until the caption handlers are written.
void SetCaptionText(const ControlEvent&) {}
void SetCaptionColour(const ControlEvent&) {}
void StepCaptionFontSize(const ControlEvent&) {}
void SetCaptionsBold(const ControlEvent&) {}
void RouteCaptionEvents(const ControlEvent&) {}
