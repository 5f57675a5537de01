// Win32 only. The caption label: a child window that draws only its text, in its colour
// and font, over whatever lies beneath it. The same control, with other settings, serves
// the eight selection-handle labels.
//
// It tells its parent of a left-button press and of mouse movement with WM_NOTIFY
// (NMHDR::idFrom = its control id, NMHDR::code = one of the codes below).
#pragma once

#include "text/text.h"

#include <windows.h>

constexpr UINT kCaptionLabelPressed = 0x4B01;
constexpr UINT kCaptionLabelMouseMove = 0x4B02;

struct CaptionLabelStyle {
    Text text;                      // code page 936
    COLORREF colour = RGB(0, 0, 0); // text colour
    LOGFONTW font{};                // used unless useGuiFont
    bool useGuiFont = false;        // the system's default GUI font instead of font
    bool singleLineCentred = false; // one line, vertically centred; else wrapped from the top
    LPCWSTR cursor = IDC_ARROW;     // system cursor shown over the label
    bool visible = true;
};

HWND CreateCaptionLabel(HWND parent, int id, int x, int y, int width, int height,
                        const CaptionLabelStyle& style);

void SetCaptionLabelText(HWND label, const Text& text);
Text CaptionLabelText(HWND label);
void SetCaptionLabelColour(HWND label, COLORREF colour);
COLORREF CaptionLabelColour(HWND label);
void SetCaptionLabelFont(HWND label, const LOGFONTW& font);
LOGFONTW CaptionLabelFont(HWND label);
