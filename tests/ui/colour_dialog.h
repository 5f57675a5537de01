// Win32 only. Answers the system colour dialog from inside its own message loop, the way
// a user would: a thread timer finds the dialog, types the red, green and blue values into
// its fields and presses OK, or presses Cancel.
#pragma once

#include <windows.h>

struct ColourDialogAnswer {
    bool accept = true;
    COLORREF colour = 0;
    // Filled in when the dialog has been answered.
    bool opened = false;
    COLORREF shownAtOpen = CLR_INVALID; // the colour its fields held when it opened
};

// Arms the timer for the next colour dialog of this thread; `answer` must outlive it.
void AnswerNextColourDialog(ColourDialogAnswer& answer);
// Disarms it, if the dialog never came.
void StopAnsweringColourDialogs();
