// Win32 only. The picture box: a borderless child window on the 3-D face colour that shows
// one picture, decoded from image bytes (whatever OleLoadPicture reads: JPEG, BMP, GIF),
// stretched to fill the whole box without keeping its proportions.
//
// A left-button press tells the parent with WM_NOTIFY (NMHDR::code = kPictureBoxPressed).
// WM_PRINTCLIENT draws the box into the given DC, as it appears on screen.
#pragma once

#include "text/text.h"

#include <windows.h>

constexpr UINT kPictureBoxPressed = 0x4B21;

HWND CreatePictureBox(HWND parent, int id, int x, int y, int width, int height);

// Empty bytes, or bytes that are not a picture, leave only the background. Redraws at once.
void SetPictureBoxImage(HWND box, const Bytes& image);
bool PictureBoxHasPicture(HWND box);
