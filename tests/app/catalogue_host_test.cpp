// The one address every catalogue request is built from, and the test servers' way in.
#include "app/catalogue_host.h"

#include <gtest/gtest.h>

namespace {

TEST(CatalogueHost, IsTheBuiltInHostUntilATestPointsItElsewhere) {
    EXPECT_EQ(CatalogueHost(), KAPRINO_CATALOGUE_HOST);
    EXPECT_FALSE(CatalogueHost().empty());
    SetCatalogueHostForTesting("127.0.0.1:40123");
    EXPECT_EQ(CatalogueHost(), "127.0.0.1:40123");
    SetCatalogueHostForTesting("");
    EXPECT_EQ(CatalogueHost(), KAPRINO_CATALOGUE_HOST);
}

} // namespace
