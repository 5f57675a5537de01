#include "app/template_preview.h"

// Placeholder until the template preview is written.
void LoadTemplatePreview(const ControlEvent&) {}
