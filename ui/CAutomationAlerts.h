// The program's message boxes as automation sees them. While a client's call runs with
// DisplayAlerts off, a box that a lower layer would show is kept instead of shown, as if a
// person had pressed OK at once, so that an unattended station never waits for nobody.
#pragma once

#include <string>
#include <vector>

#include "instrument/IMessageSink.h"

namespace stratigon::ui {

class CAutomationAlerts final : public IMessageSink {
public:
    // `boxes` shows a text to a person.
    explicit CAutomationAlerts(IMessageSink& boxes) : m_boxes(boxes) {}

    void ShowMessage(const char* text) override;

    bool Displayed() const { return m_displayed; }
    void SetDisplayed(bool displayed) { m_displayed = displayed; }
    // The texts the latest client call kept instead of showing.
    const std::vector<std::string>& Kept() const { return m_kept; }

    // One client call, from its start to its end: it starts with nothing kept.
    class CCall {
    public:
        explicit CCall(CAutomationAlerts& alerts);
        ~CCall();
        CCall(const CCall&) = delete;
        CCall& operator=(const CCall&) = delete;

    private:
        CAutomationAlerts& m_alerts;
    };

private:
    IMessageSink& m_boxes;
    bool m_displayed = true;
    int m_openCalls = 0;  // a box shown during a call lets the next call in, which nests
    std::vector<std::string> m_kept;
};

}  // namespace stratigon::ui
