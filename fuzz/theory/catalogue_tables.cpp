// Fuzz target: catalogue tables as tutor files carry them; whatever decodes must encode and decode
// to the same catalogue.
#include "theory/ChordCatalogue.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::theory;
    std::vector<std::uint8_t> bytes(data, data + size);
    bytes.resize(kCatalogueTablesSize, 0);
    const auto catalogue = decodeCatalogueTables(bytes);
    if (!catalogue) std::abort();
    std::vector<std::uint8_t> encoded(kCatalogueTablesSize);
    encodeCatalogueTables(*catalogue, encoded);
    const auto again = decodeCatalogueTables(encoded);
    if (!again || again->tables != catalogue->tables) std::abort();
    return 0;
}
