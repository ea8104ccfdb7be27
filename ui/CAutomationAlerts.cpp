#include "ui/CAutomationAlerts.h"

namespace stratigon::ui {

void CAutomationAlerts::ShowMessage(const char* text)
{
    if (m_openCalls > 0 && !m_displayed)
        m_kept.emplace_back(text);
    else
        m_boxes.ShowMessage(text);
}

CAutomationAlerts::CCall::CCall(CAutomationAlerts& alerts) : m_alerts(alerts)
{
    m_alerts.m_kept.clear();
    ++m_alerts.m_openCalls;
}

CAutomationAlerts::CCall::~CCall() { --m_alerts.m_openCalls; }

}  // namespace stratigon::ui
