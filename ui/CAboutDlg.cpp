#include "ui/CAboutDlg.h"

#include <algorithm>
#include <optional>

#include "res/resource.h"
#include "win32/AnsiText.h"
#include "win32/ProgramPath.h"

namespace stratigon::ui {

namespace {

constexpr char kStringBlock[] = "\\StringFileInfo\\040904B0\\";

SIZE ClientSize(HWND window)
{
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

}  // namespace

CAboutDlg::CAboutDlg(IVersionResources* versions, std::string versionFile)
    : CDialogImpl(IDD_ABOUTBOX), m_versions(versions), m_versionFile(std::move(versionFile)),
      m_picture(MAKEINTRESOURCEA(IDB_PRODUCT_PICTURE))
{
}

std::span<const CAboutDlg::MessageEntry> CAboutDlg::MessageTable()
{
    static const MessageEntry table[] = {
        {WM_PALETTECHANGED, &CAboutDlg::HandlePaletteChanged},
        {WM_QUERYNEWPALETTE, &CAboutDlg::HandleQueryNewPalette},
    };
    return table;
}

BOOL CAboutDlg::OnInitDialog()
{
    MakeTitleBold();
    m_logo.Attach(Item(IDC_ABOUT_LOGO));
    AttachOwnerDraw(IDC_ABOUT_LOGO, m_logo);
    if (!m_logo.LoadBitmaps(IDB_LOGO)) {
        ::MessageBoxA(GetHwnd(), "A required resource was unavailable.", nullptr, MB_OK | MB_ICONEXCLAMATION);
        return TRUE;
    }
    m_logo.SizeToContent();
    m_picture.Attach(Item(IDC_ABOUT_PICTURE));
    m_picture.SizeToContent();
    EnableItem(IDC_ABOUT_PICTURE, false);
    ShowVersionTexts();
    LayOut();
    return TRUE;
}

void CAboutDlg::MakeTitleBold()
{
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(GetHwnd(), WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (font == nullptr || ::GetObjectA(font, sizeof description, &description) == 0)
        return;
    description.lfWeight = FW_BOLD;
    m_boldFont.reset(::CreateFontIndirectA(&description));
    ::SendMessageA(Item(IDC_ABOUT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.get()), TRUE);
}

void CAboutDlg::ShowVersionTexts()
{
    const std::string file = m_versionFile.empty() ? win32::AnsiPath(win32::ProgramPath()) : m_versionFile;
    if (m_versions == nullptr || m_versions->VersionInfoSize(file) == 0 || !m_versions->CanReadVersionInfo(file))
        return;
    const auto value = [&](const char* name) -> std::optional<std::string> {
        std::optional<std::string> text = m_versions->QueryValue(file, std::string(kStringBlock) + name);
        return text && !text->empty() ? text : std::nullopt;
    };
    SetItemText(IDC_ABOUT_VERSION, "Version " + value("ProductVersion").value_or("Unknown"));
    const std::pair<int, const char*> labels[] = {
        {IDC_ABOUT_TITLE, "ProductName"}, {IDC_ABOUT_COPYRIGHT, "LegalCopyright"}, {IDC_ABOUT_TRADEMARKS, "LegalTrademarks"}};
    for (const auto& [id, name] : labels)
        if (const auto text = value(name))
            SetItemText(id, *text);
}

// The picture at the top left, the texts in a column beside it, OK at the top right and the
// logo at the bottom right, everything 20 pixels from the edges.
void CAboutDlg::LayOut()
{
    const HWND box = GetHwnd();
    RECT window{};
    ::GetWindowRect(box, &window);
    const SIZE client = ClientSize(box);
    const SIZE frame{window.right - window.left - client.cx, window.bottom - window.top - client.cy};
    const SIZE p = ClientSize(Item(IDC_ABOUT_PICTURE)), k = ClientSize(Item(IDOK)), t = ClientSize(Item(IDC_ABOUT_TITLE)),
               v = ClientSize(Item(IDC_ABOUT_VERSION)), n = ClientSize(Item(IDC_ABOUT_COPYRIGHT)),
               m = ClientSize(Item(IDC_ABOUT_TRADEMARKS)), l = ClientSize(Item(IDC_ABOUT_LOGO));
    const LONG width = std::max({p.cx + t.cx + k.cx + 80, p.cx + v.cx + 60, p.cx + n.cx + 60, p.cx + m.cx + 60, p.cx + l.cx + 40});
    const LONG height = std::max(m.cy + n.cy + t.cy + v.cy + l.cy + 100, p.cy + 40);
    ::SetWindowPos(box, nullptr, 0, 0, width + frame.cx, height + frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterOnScreen();
    const SIZE area = ClientSize(box);
    const auto place = [&](int id, LONG x, LONG y) {
        ::SetWindowPos(Item(id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(IDC_ABOUT_PICTURE, 20, 20);
    place(IDC_ABOUT_TITLE, p.cx + 40, 20);
    place(IDOK, area.cx - k.cx - 20, 20);
    place(IDC_ABOUT_VERSION, p.cx + 40, t.cy + 30);
    place(IDC_ABOUT_COPYRIGHT, p.cx + 40, t.cy + v.cy + 40);
    place(IDC_ABOUT_TRADEMARKS, p.cx + 40, t.cy + v.cy + n.cy + 60);
    place(IDC_ABOUT_LOGO, area.cx - l.cx - 20, area.cy - l.cy - 20);
}

bool CAboutDlg::HandlePaletteChanged(WPARAM wParam, LPARAM, LRESULT& result)
{
    m_picture.OnPaletteChanged(reinterpret_cast<HWND>(wParam));
    result = 0;
    return true;
}

bool CAboutDlg::HandleQueryNewPalette(WPARAM, LPARAM, LRESULT& result)
{
    result = win32::CPalettePicture::OnQueryNewPalette() ? TRUE : FALSE;
    return true;
}

}  // namespace stratigon::ui
