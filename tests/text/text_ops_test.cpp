#include "text/text_ops.h"

#include <gtest/gtest.h>

TEST(TextOps, SearchSkipsTrailBytesOfDoubleByteCharacters) {
    // "\xB0\x41" is one character whose second byte is 'A': a search for "A" must not
    // find it inside the character, only the real 'A' after it.
    const Text text = "\xB0\x41"
                      "A";
    EXPECT_EQ(Search(text, "A"), 3);
}
