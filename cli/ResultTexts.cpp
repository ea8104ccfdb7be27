#include "cli/ResultTexts.h"

#include "catalogue/AutomationMessages.h"
#include "catalogue/AutomationResult.h"

namespace stratigon::cli {

std::string ResultText(std::uint32_t automationResult)
{
    const std::uint32_t code = AutomationResult::CodeOf(automationResult);
    const std::string_view text = AutomationMessageText(code);
    return text.empty() ? "Error " + std::to_string(code) + "." : std::string(text);
}

}  // namespace stratigon::cli
