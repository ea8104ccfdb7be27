#include "win32/CHtmlHelpLoader.h"

namespace stratigon::win32 {

namespace {

constexpr char kControlServer[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr char kControlFile[] = "hhctrl.ocx";
constexpr WORD kHtmlHelpAOrdinal = 14;

std::string RegisteredControl()
{
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (::RegGetValueA(HKEY_CLASSES_ROOT, kControlServer, nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, path,
                       &size) != ERROR_SUCCESS)
        return {};
    return path;
}

}  // namespace

bool CHtmlHelpLoader::Load()
{
    if (m_tried)
        return m_function != nullptr;
    m_tried = true;
    const std::string registered = m_library.empty() ? RegisteredControl() : m_library;
    if (!registered.empty())
        m_module.reset(::LoadLibraryA(registered.c_str()));
    if (!m_module && m_library.empty())
        m_module.reset(::LoadLibraryA(kControlFile));
    if (m_module)
        m_function = reinterpret_cast<HtmlHelpFunction>(
            reinterpret_cast<void*>(::GetProcAddress(m_module.get(), MAKEINTRESOURCEA(kHtmlHelpAOrdinal))));
    return m_function != nullptr;
}

HWND CHtmlHelpLoader::Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data)
{
    return Load() ? m_function(caller, file.c_str(), command, data) : nullptr;
}

}  // namespace stratigon::win32
