#include "cli/ResultTexts.h"

#include "catalogue/AutomationResult.h"

namespace stratigon::cli {

namespace {

struct CodeText {
    std::uint32_t code;
    const char* text;
};

constexpr CodeText kTexts[] = {
    {1002, "The operation was unsuccessful."},
    {1010, kUnknownUniqueId},
    {1011, "The specified upgrade option is not defined for this module."},
    {1013, "The current module configuration is incompatible with the upgrade."},
    {1014, "Upgrade failed."},
    {1015, "This kind of product isn't defined in QDMT."},
};

}  // namespace

std::string ResultText(std::uint32_t automationResult)
{
    const std::uint32_t code = AutomationResult::CodeOf(automationResult);
    for (const CodeText& entry : kTexts)
        if (entry.code == code)
            return entry.text;
    return "Error " + std::to_string(code) + ".";
}

}  // namespace stratigon::cli
