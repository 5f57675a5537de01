// Win32 only. The caption label: a child window that draws only its text, in its colour
// and font, over whatever lies beneath it. The same control, with other settings, serves
// the eight selection-handle labels.
//
// The window system gives a child window no see-through background, so the label makes
// what lies beneath it itself: each paint renders its parent's background and every visible
// sibling beneath it in the z-order (with their children) into a memory bitmap, each window
// at its own origin (WM_ERASEBKGND and WM_PRINTCLIENT for the client area, WM_PRINT for
// the frame), and then draws the text over that. Windows beneath must therefore answer
// WM_PRINTCLIENT, as the standard controls do. The label repaints itself and the
// labels over it when its text, colour, font, place, size, visibility or z-order change;
// when something beneath it changes by other means (a new picture), the owner of that
// window calls RedrawLabelsOver.
//
// It tells its parent of a left-button press and of mouse movement with WM_NOTIFY
// (NMHDR::idFrom = its control id, NMHDR::code = one of the codes below). It leaves the
// non-client messages to the system, so WM_NCLBUTTONDOWN with HTCAPTION or a frame code
// starts the system's own move or size loop.
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
bool IsCaptionLabel(HWND window);

// Every write redraws the label at once, and the labels that lie over it.
void SetCaptionLabelText(HWND label, const Text& text);
Text CaptionLabelText(HWND label);
void SetCaptionLabelColour(HWND label, COLORREF colour);
COLORREF CaptionLabelColour(HWND label);
void SetCaptionLabelFont(HWND label, const LOGFONTW& font);
LOGFONTW CaptionLabelFont(HWND label);

// Members of the font; writing one keeps all the others. Sizes are points at the screen's
// vertical resolution (LOGPIXELSY): read as round(character height x 72 / dpi), written as
// a character height of round(size x dpi / 72) pixels, a negative size as 0 (the font's
// default height).
int CaptionLabelFontSize(HWND label);
void SetCaptionLabelFontSize(HWND label, int points);
// Read: weight 700 or more. Written: 700 for true, 0 (the default, drawn as normal) for false.
bool CaptionLabelBold(HWND label);
void SetCaptionLabelBold(HWND label, bool bold);

// Repaints at once the visible caption labels among the children of parent whose rectangle
// meets area (client coordinates of parent).
void RedrawLabelsOver(HWND parent, const RECT& area);
// For a window whose look changed by other means (a picture box given a new picture): paints
// it now, then repaints the caption labels that lie over it, at every level up to the top
// window (the labels may be siblings of one of its ancestors).
void RedrawLabelsOver(HWND window);
