// A dialog whose commands and messages are routed through one table of handlers per dialog
// class, declared next to the class: {control or command id, handler, notification}. What a
// class's tables do not handle goes on to the tables of the class it derives from (TBase).
#pragma once

#include <span>

#include "win32/CDialog.h"

namespace stratigon::win32 {

template <class T, class TBase = CDialog>
class CDialogImpl : public TBase {
public:
    using TBase::TBase;

protected:
    static constexpr WORD kAnyNotification = 0xFFFF;

    struct CommandEntry {
        WORD id;
        void (T::*handler)();
        WORD notification = kAnyNotification;
    };
    // A message handler returns false to leave the message to the base class and then to the
    // default handling.
    struct MessageEntry {
        UINT message;
        bool (T::*handler)(WPARAM wParam, LPARAM lParam, LRESULT& result);
    };

    // A class declares its own tables; these empty ones stand in for a class that has none.
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
        return TBase::OnCommand(id, notification);
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        for (const MessageEntry& entry : T::MessageTable()) {
            if (entry.message == message && (static_cast<T*>(this)->*entry.handler)(wParam, lParam, result))
                return true;
        }
        return TBase::OnMessage(message, wParam, lParam, result);
    }
};

}  // namespace stratigon::win32
