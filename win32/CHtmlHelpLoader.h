// HtmlHelpA of the HTML Help control, loaded on first use from where the control is registered
// (or as hhctrl.ocx); when it cannot be loaded every help call does nothing.
#pragma once

#include "win32/IHtmlHelp.h"
#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

class CHtmlHelpLoader final : public IHtmlHelp {
public:
    // Where to look first; the registered location by default.
    explicit CHtmlHelpLoader(std::string library = {}) : m_library(std::move(library)) {}

    bool IsAvailable() override { return Load(); }
    HWND Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data) override;

private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    bool Load();

    std::string m_library;
    UniqueModule m_module;
    HtmlHelpFunction m_function = nullptr;
    bool m_tried = false;
};

}  // namespace stratigon::win32
