#include "app/catalogue_host.h"

#ifndef KAPRINO_CATALOGUE_HOST
#error "KAPRINO_CATALOGUE_HOST must name the catalogue server (set by the build)"
#endif

namespace {

Text& HostOverride() {
    static Text host;
    return host;
}

} // namespace

Text CatalogueHost() {
    const Text& host = HostOverride();
    return host.empty() ? Text(KAPRINO_CATALOGUE_HOST) : host;
}

void SetCatalogueHostForTesting(const Text& host) {
    HostOverride() = host;
}
