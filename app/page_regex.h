// Win32 only. The pattern object that the catalogue loader finds templates with. It lives
// from start-up, before the main window opens, until the exit routine destroys it.
#pragma once

#include "text/regex_object.h"

extern RegexObject* pageRegex;
