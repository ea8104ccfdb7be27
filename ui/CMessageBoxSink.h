// The application's message sink: every text of the core and the dialogs for the user is
// shown in a message box with an OK button, owned by the active window.
#pragma once

#include "instrument/IMessageSink.h"
#include "ui/ApplicationState.h"

namespace stratigon::ui {

class CMessageBoxSink final : public IMessageSink {
public:
    static constexpr const char* kCaption = kApplicationName;
    void ShowMessage(const char* text) override;
};

}  // namespace stratigon::ui
