// The catalogue server's address (host, or host:port), fixed when the program is built.
// Every address of the catalogue is built from this one value.
#pragma once

#include "text/text.h"

Text CatalogueHost();

// Points the program at another server (a test server on its own port). Call it before any
// loader runs; an empty host goes back to the built-in one.
void SetCatalogueHostForTesting(const Text& host);
