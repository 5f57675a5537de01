#include "captions/picture_copy.h"

// Placeholder until the picture copy is written.
void CopyPictureToClipboard(const ControlEvent&) {}
