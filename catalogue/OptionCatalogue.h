// The built-in option catalogue: one option table per known product, generated once at
// compile time from the product groups and the upgrade grids, never changed at run time.
#pragma once

#include <cstddef>
#include <span>

#include "catalogue/ProductOptionTable.h"

namespace stratigon {

class OptionCatalogue {
public:
    static constexpr std::size_t kTableCount = 39;
    static constexpr std::size_t kRowCount = 506;
    // Every table's row 0 is the factory-default row; its option code is this.
    static constexpr char kFactoryDefaultCode[] = "FD";
    static constexpr char kOptionSeparator[] = "-Opt-";

    // The lookup rows in catalogue order.
    static std::span<const ProductOptionTable, kTableCount> Tables();
    // All option rows, table after table.
    static std::span<const OptionRow, kRowCount> Rows();
};

}  // namespace stratigon
