// The thin dialog layer: a dialog on a resource template, run modally or modeless, with its
// commands and messages routed to the derived class. Owns its window while it exists.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win32/DpiScale.h"
#include "win32/IOwnerDraw.h"

namespace stratigon::win32 {

class CDialog {
public:
    explicit CDialog(UINT templateId);
    // The window must be gone by now: a modeless dialog's window goes while the whole object
    // still serves it (UniqueDialog sees to that). One that is still there is cut loose from
    // the object, so no message reaches what is left of it, and counted.
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

    // The module whose resources the dialogs use (the program itself, or a test program).
    static HINSTANCE ResourceInstance();
    // The application's main window: the owner of modal dialogs run without a parent.
    static HWND ApplicationWindow() { return s_applicationWindow; }
    // How many dialog objects have gone before their windows: each one is a fault of ours.
    static int WindowsThatOutlivedTheirDialog() { return s_windowsOutlivingTheirDialog; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual bool OnCommand(WORD id, WORD code);
    // Returns true when the message was handled; `result` is then the message's result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window now shows at another scale. The dialog manager has already scaled what the
    // template places; this takes the rectangle the system suggests, and a dialog that lays
    // anything out in pixels does that again for `scale`.
    virtual void OnDpiChanged(DpiScale scale, const RECT& suggested);

    void EndDialog(INT_PTR result);

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
    // The client area the template asks for, in pixels of the dialog's font as it is now.
    SIZE TemplateClientSize() const;
    // Puts the controls in this order for Tab and for the mnemonics of labels, which move to the
    // control after them: each goes right after the one before it, the template keeping its own.
    void ArrangeTabOrder(std::initializer_list<int> ids);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);
    bool DrawOwnerDrawn(const DRAWITEMSTRUCT& item);
    INT_PTR HandleDpiChanged(WPARAM wParam, LPARAM lParam);

    static HWND s_applicationWindow;
    static int s_windowsOutlivingTheirDialog;

    UINT m_templateId;
    std::vector<std::pair<int, IOwnerDraw*>> m_ownerDrawn;
    HWND m_hwnd = nullptr;
    bool m_modal = false;
    bool m_dialogManagerScaling = false;
};

// Deletes a dialog run modeless the right way round: its window first, while the derived
// class, its controls' bitmaps and its owner-drawn parts are all still there, then the object.
struct DestroyDialog {
    void operator()(CDialog* dialog) const
    {
        dialog->DestroyWindow();
        delete dialog;
    }
};
template <class T>
using UniqueDialog = std::unique_ptr<T, DestroyDialog>;

template <class T, class... Arguments>
UniqueDialog<T> MakeDialog(Arguments&&... arguments)
{
    return UniqueDialog<T>(new T(std::forward<Arguments>(arguments)...));
}

// Loads a text of the string table; empty when there is none.
std::string LoadResourceString(UINT id);

}  // namespace stratigon::win32
