#include "ui/CAboutDlg.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "res/resource.h"
#include "ui/ScaledBitmaps.h"
#include "win32/AnsiText.h"
#include "win32/ProgramPath.h"

namespace stratigon::ui {

namespace {

constexpr char kStringBlock[] = "\\StringFileInfo\\040904B0\\";

// What the two pictures show, as their window texts, for screen readers.
constexpr std::pair<int, const char*> kPictureNames[] = {
    {IDC_ABOUT_PICTURE, "Picture of a KVX module"},
    {IDC_ABOUT_LOGO, "Quorvalis logo"},
};

SIZE ClientSize(HWND window)
{
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

}  // namespace

CAboutDlg::CAboutDlg(IVersionResources* versions, std::string versionFile)
    : CDialogImpl(IDD_ABOUTBOX), m_versions(versions), m_versionFile(std::move(versionFile))
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
    m_scale = win32::DpiScale::OfWindow(GetHwnd());
    MakeTitleBold();
    m_logo.Attach(Item(IDC_ABOUT_LOGO));
    AttachOwnerDraw(IDC_ABOUT_LOGO, m_logo);
    m_picture.Attach(Item(IDC_ABOUT_PICTURE));
    if (!LoadBitmaps()) {
        ::MessageBoxA(GetHwnd(), "A required resource was unavailable.", nullptr, MB_OK | MB_ICONEXCLAMATION);
        return TRUE;
    }
    EnableItem(IDC_ABOUT_PICTURE, false);
    for (const auto& [id, name] : kPictureNames)
        SetItemText(id, name);
    ShowVersionTexts();
    LayOut();
    CenterOnScreen();
    return TRUE;
}

void CAboutDlg::OnDpiChanged(win32::DpiScale scale, const RECT& suggested)
{
    CDialogImpl::OnDpiChanged(scale, suggested);
    m_scale = scale;
    MakeTitleBold();
    LoadBitmaps();
    LayOut();
}

// The picture and the logo drawn for the box's scale, each control as large as its bitmap.
bool CAboutDlg::LoadBitmaps()
{
    if (!m_logo.LoadBitmaps(static_cast<WORD>(BitmapForScale(IDB_LOGO, m_scale))))
        return false;
    m_logo.SizeToContent();
    m_picture.Load(MAKEINTRESOURCEA(BitmapForScale(IDB_PRODUCT_PICTURE, m_scale)));
    m_picture.SizeToContent();
    return true;
}

void CAboutDlg::MakeTitleBold()
{
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(GetHwnd(), WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (font == nullptr || ::GetObjectA(font, sizeof description, &description) == 0)
        return;
    description.lfWeight = FW_BOLD;
    // The title takes the new font before the one it had goes.
    win32::UniqueFont bold(::CreateFontIndirectA(&description));
    ::SendMessageA(Item(IDC_ABOUT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(bold.get()), TRUE);
    m_boldFont = std::move(bold);
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
// logo at the bottom right, everything 20 pixels (at 100 %) from the edges.
void CAboutDlg::LayOut()
{
    const auto px = [this](int pixels) { return static_cast<LONG>(m_scale.Pixels(pixels)); };
    const HWND box = GetHwnd();
    RECT window{};
    ::GetWindowRect(box, &window);
    const SIZE client = ClientSize(box);
    const SIZE frame{window.right - window.left - client.cx, window.bottom - window.top - client.cy};
    const SIZE p = ClientSize(Item(IDC_ABOUT_PICTURE)), k = ClientSize(Item(IDOK)), t = ClientSize(Item(IDC_ABOUT_TITLE)),
               v = ClientSize(Item(IDC_ABOUT_VERSION)), n = ClientSize(Item(IDC_ABOUT_COPYRIGHT)),
               m = ClientSize(Item(IDC_ABOUT_TRADEMARKS)), l = ClientSize(Item(IDC_ABOUT_LOGO));
    const LONG width = std::max({p.cx + t.cx + k.cx + px(80), p.cx + v.cx + px(60), p.cx + n.cx + px(60),
                                 p.cx + m.cx + px(60), p.cx + l.cx + px(40)});
    const LONG height = std::max(m.cy + n.cy + t.cy + v.cy + l.cy + px(100), p.cy + px(40));
    ::SetWindowPos(box, nullptr, 0, 0, width + frame.cx, height + frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE area = ClientSize(box);
    const auto place = [&](int id, LONG x, LONG y) {
        ::SetWindowPos(Item(id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(IDC_ABOUT_PICTURE, px(20), px(20));
    place(IDC_ABOUT_TITLE, p.cx + px(40), px(20));
    place(IDOK, area.cx - k.cx - px(20), px(20));
    place(IDC_ABOUT_VERSION, p.cx + px(40), t.cy + px(30));
    place(IDC_ABOUT_COPYRIGHT, p.cx + px(40), t.cy + v.cy + px(40));
    place(IDC_ABOUT_TRADEMARKS, p.cx + px(40), t.cy + v.cy + n.cy + px(60));
    place(IDC_ABOUT_LOGO, area.cx - l.cx - px(20), area.cy - l.cy - px(20));
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
