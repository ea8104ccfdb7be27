// What every dialog-based main window of the program shares: the application icon, the
// "About Stratigon..." entry of the system menu, and the icon drawn while minimized.
#pragma once

#include "ui/CDialogImpl.h"
#include "ui/UniqueHandle.h"

namespace stratigon::ui {

template <class T>
class CStratigonDlg : public CDialogImpl<T> {
public:
    CStratigonDlg(UINT templateId);

protected:
    BOOL OnInitDialog() override;
    // Opens the About box; the menu command and the system-menu entry both lead here.
    virtual void OnAbout() {}

    bool HandleSysCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandlePaint(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleQueryDragIcon(WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    UniqueIcon m_largeIcon;
    UniqueIcon m_smallIcon;
};

}  // namespace stratigon::ui

#include "ui/CStratigonDlg.inl"
