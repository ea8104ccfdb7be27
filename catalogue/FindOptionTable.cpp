#include "catalogue/FindOptionTable.h"

#include <string>

#include "catalogue/CatalogueText.h"
#include "catalogue/OptionCatalogue.h"
#include "module/CModule.h"

namespace stratigon {

const OptionRow* LookUpOptionTable(std::string_view productName, std::int32_t& rowCount)
{
    for (const ProductOptionTable& table : OptionCatalogue::Tables()) {
        if (EqualsIgnoringCase(productName, table.productName)) {
            rowCount = table.rowCount;
            return table.rows;
        }
    }
    return nullptr;
}

const OptionRow* FindOptionTable(std::string_view productName, IMessageSink& messages, std::int32_t& rowCount)
{
    if (const OptionRow* rows = LookUpOptionTable(productName, rowCount))
        return rows;
    const std::string text = "Error: No option table defined for this product: " + std::string(productName);
    messages.ShowMessage(text.c_str());
    return nullptr;
}

const OptionRow* FindOptionTable(const CModule& module, IMessageSink& messages, std::int32_t& rowCount)
{
    return FindOptionTable(module.GetProductName(), messages, rowCount);
}

}  // namespace stratigon
