#include "app/catalogue_loader.h"

// Placeholders until the catalogue loader is written.
void StartPageLoad(const ControlEvent&) {}
void GoToNextPage(const ControlEvent&) {}
void GoToPreviousPage(const ControlEvent&) {}
void AdvanceLoadProgress(const ControlEvent&) {}
