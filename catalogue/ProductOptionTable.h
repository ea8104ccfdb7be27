// One lookup row of the option catalogue: a product name and that product's kit options.
// The row count is the only bound of the rows; nothing marks their end.
#pragma once

#include <cstdint>

#include "catalogue/OptionRow.h"

namespace stratigon {

struct ProductOptionTable {
    const char* productName = "";
    const OptionRow* rows = nullptr;
    std::int32_t rowCount = 0;
};

}  // namespace stratigon
