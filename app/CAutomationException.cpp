#include "app/CAutomationException.h"

#include "catalogue/AutomationMessages.h"
#include "catalogue/AutomationResult.h"

namespace stratigon::app {

void RaiseAutomationError(std::uint32_t result)
{
    const std::uint32_t code = AutomationResult::CodeOf(result);
    throw CAutomationException(static_cast<std::uint16_t>(code), std::string(AutomationMessageText(code)));
}

}  // namespace stratigon::app
