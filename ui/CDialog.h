// The thin dialog layer: a dialog on a resource template, run modally or modeless, with its
// commands and messages routed to the derived class. Owns its window while it exists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/IOwnerDraw.h"

namespace stratigon::ui {

class CDialog {
public:
    explicit CDialog(UINT templateId);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; returns its result, or -1 when it could not be created.
    // Without a parent the application's main window owns it while it runs, as it must: the
    // main window is disabled meanwhile.
    INT_PTR DoModal(HWND parent);
    // Creates the window and returns at once; false when it could not be created.
    bool Create(HWND parent);
    void DestroyWindow();
    HWND GetHwnd() const { return m_hwnd; }
    UINT TemplateId() const { return m_templateId; }

    // The module whose resources the dialogs use (the program itself, or a test program).
    static HINSTANCE ResourceInstance();
    // The application's main window: the owner of modal dialogs run without a parent.
    static HWND ApplicationWindow() { return s_applicationWindow; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual bool OnCommand(WORD id, WORD code);
    // Returns true when the message was handled; `result` is then the message's result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void EndDialog(INT_PTR result);
    bool IsModal() const { return m_modal; }

    HWND Item(int id) const { return ::GetDlgItem(m_hwnd, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) { ::SetDlgItemTextA(m_hwnd, id, text.c_str()); }
    void ShowItem(int id, bool shown) { ::ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }
    void EnableItem(int id, bool enabled) { ::EnableWindow(Item(id), enabled ? TRUE : FALSE); }
    void SetFocusTo(int id) { ::SetFocus(Item(id)); }

    // WM_DRAWITEM requests for control `id` go to `control`, which outlives the dialog's window.
    void AttachOwnerDraw(int id, IOwnerDraw& control);
    // This dialog is the application's main window while its window exists.
    void BecomeApplicationWindow();

    POINT TopLeft() const;
    void MoveTo(POINT topLeft);
    void CenterOnScreen();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);
    bool DrawOwnerDrawn(const DRAWITEMSTRUCT& item);

    static HWND s_applicationWindow;

    UINT m_templateId;
    std::vector<std::pair<int, IOwnerDraw*>> m_ownerDrawn;
    HWND m_hwnd = nullptr;
    bool m_modal = false;
};

// Loads a text of the string table; empty when there is none.
std::string LoadResourceString(UINT id);

}  // namespace stratigon::ui
