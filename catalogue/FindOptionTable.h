// The lookup from a module's product name to its option table. An operation of the module
// object in spirit; it lives here so that the module does not depend on the catalogue.
#pragma once

#include <cstdint>
#include <string_view>

#include "catalogue/OptionRow.h"
#include "instrument/IMessageSink.h"

namespace stratigon {

class CModule;

// The first row of the product's table, with its row count in `rowCount`; or null after
// telling the user that the product has none, `rowCount` left as it was. Letter case of
// the product name does not matter; its length does.
const OptionRow* FindOptionTable(std::string_view productName, IMessageSink& messages, std::int32_t& rowCount);

// The same without telling anyone when the product has none.
const OptionRow* LookUpOptionTable(std::string_view productName, std::int32_t& rowCount);

// The same for the module read last.
const OptionRow* FindOptionTable(const CModule& module, IMessageSink& messages, std::int32_t& rowCount);

}  // namespace stratigon
