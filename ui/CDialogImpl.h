// A dialog whose commands and messages are routed through one table of handlers per dialog
// class, declared next to the class: {control or command id, handler, notification}.
#pragma once

#include <span>

#include "ui/CDialog.h"

namespace stratigon::ui {

template <class T>
class CDialogImpl : public CDialog {
public:
    using CDialog::CDialog;

protected:
    static constexpr WORD kAnyNotification = 0xFFFF;

    struct CommandEntry {
        WORD id;
        void (T::*handler)();
        WORD notification = kAnyNotification;
    };
    // A message handler returns false to leave the message to the default handling.
    struct MessageEntry {
        UINT message;
        bool (T::*handler)(WPARAM wParam, LPARAM lParam, LRESULT& result);
    };

    // A derived dialog hides these with its own tables.
    static std::span<const CommandEntry> CommandTable() { return {}; }
    static std::span<const MessageEntry> MessageTable() { return {}; }

    bool OnCommand(WORD id, WORD notification) override
    {
        for (const CommandEntry& entry : T::CommandTable()) {
            if (entry.id == id && (entry.notification == kAnyNotification || entry.notification == notification)) {
                (static_cast<T*>(this)->*entry.handler)();
                return true;
            }
        }
        return CDialog::OnCommand(id, notification);
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        for (const MessageEntry& entry : T::MessageTable()) {
            if (entry.message == message)
                return (static_cast<T*>(this)->*entry.handler)(wParam, lParam, result);
        }
        return false;
    }
};

}  // namespace stratigon::ui
