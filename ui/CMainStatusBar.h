// The main dialog's status bar: the status text or menu prompt, the " Client " indicator
// while an automation client holds the dialog, and the maker's small logo.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win32/DpiScale.h"
#include "win32/IOwnerDraw.h"
#include "win32/UniqueHandle.h"

namespace stratigon::ui {

class CMainStatusBar final : public win32::IOwnerDraw {
public:
    // The framework's usual id of a status bar; WM_DRAWITEM names the bar by it.
    static constexpr int kId = 0xE801;
    enum Pane { kStatusPane = 0, kClientPane = 1, kLogoPane = 2 };

    // `clientConnected` tells the client pane whether to show the indicator.
    explicit CMainStatusBar(std::function<bool()> clientConnected) : m_clientConnected(std::move(clientConnected)) {}

    // A child at the bottom of `dialog` with its three panes, laid out for the dialog's scale;
    // false when it cannot be made.
    bool Create(HWND dialog);
    // Takes the font of `scale` and lays the bar out for it.
    void SetScale(win32::DpiScale scale);
    // Fits the bar to the bottom of the dialog again and sets out its panes.
    void LayOut();
    HWND GetHwnd() const { return m_hwnd; }
    // The logo the bar shows at its scale.
    UINT LogoBitmap() const;

    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    // Draws the bar again at once, the client pane asking whether a client is connected.
    void RedrawNow();

    // Draws the client pane and the logo pane.
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    int TextWidth(UINT stringId) const;
    void DrawClientPane(const DRAWITEMSTRUCT& item);
    void DrawLogoPane(const DRAWITEMSTRUCT& item) const;

    std::function<bool()> m_clientConnected;
    HWND m_hwnd = nullptr;  // a child of the dialog, which destroys it
    win32::DpiScale m_scale;
    win32::UniqueFont m_font;
};

}  // namespace stratigon::ui
