// What every dialog-based main window of the program shares: the application icon, the
// "About Stratigon..." entry of the system menu and Help > About, and the icon drawn while
// minimized.
#pragma once

#include "report/IVersionResources.h"
#include "win32/CDialogImpl.h"
#include "win32/UniqueHandle.h"

namespace stratigon::ui {

class CStratigonDlg : public win32::CDialogImpl<CStratigonDlg> {
public:
    // The About box reads the program's version texts through `versions`; without it the box
    // shows the texts of its resource.
    explicit CStratigonDlg(UINT templateId, IVersionResources* versions = nullptr);

    static std::span<const CommandEntry> CommandTable();
    static std::span<const MessageEntry> MessageTable();

protected:
    BOOL OnInitDialog() override;
    void OnDpiChanged(win32::DpiScale scale, const RECT& suggested) override;
    // Opens the About box, modally and without parent.
    void OnAbout();

private:
    void SetIcons(const win32::DpiScale& scale);
    bool HandleSysCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandlePaint(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleQueryDragIcon(WPARAM wParam, LPARAM lParam, LRESULT& result);

    IVersionResources* m_versions;
    win32::DpiScale m_scale;
    win32::UniqueIcon m_largeIcon;
    win32::UniqueIcon m_smallIcon;
};

}  // namespace stratigon::ui
