#include "catalogue/AutomationMessages.h"

namespace stratigon {

namespace {

struct AutomationMessage {
    std::uint32_t code;
    std::string_view text;
};

// Some texts belong to errors that no method raises today; scripts written for them may still
// look for them.
constexpr AutomationMessage kMessages[] = {
    {1001, "There is not enough memory to perform the operation."},
    {1002, "The operation was unsuccessful."},
    {1003, "An error occurred when showing/hiding the application window."},
    {1004, "Invalid Slot argument."},
    {1005, "The specified slot is empty."},
    {1006, "The module with the specified Serial Number is not recognized."},
    {1007, "Invalid ModuleName argument."},
    {1008, "No module has the specified Serial Number."},
    {1009, "You must specify a Serial Number for this operation."},
    {1010, "No module has the specified Unique ID."},
    {1011, "The specified upgrade option is not defined for this module."},
    {1013, "The current module configuration is incompatible with the upgrade."},
    {1014, "Upgrade failed."},
    {1015, "This kind of product isn't defined in QDMT."},
    {1016, "Invalid upgrade option name."},
    {1017, "The module with the specified Serial Number has no Unique ID."},
};

}  // namespace

std::string_view AutomationMessageText(std::uint32_t code)
{
    for (const AutomationMessage& message : kMessages)
        if (message.code == (code & 0xFFFFu))
            return message.text;
    return {};
}

}  // namespace stratigon
