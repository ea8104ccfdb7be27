#include "ui/CHelpRouting.h"

#include <algorithm>
#include <iterator>

#include <htmlhelp.h>
#include <windowsx.h>

#include "res/resource.h"
#include "ui/PopupTexts.h"
#include "win32/FrameworkMessages.h"

namespace stratigon::ui {

namespace {

static_assert(sizeof CHelpRouting::kHelpSystemFolder - 1 == 32, "the help system folder has 32 characters");

constexpr char kPopupFont[] = "Arial, 8, ascii, , , ";

constexpr HelpPair kMainHelpTable[] = {
    {IDC_SLOT_LIST, 8}, {IDC_FRAME_LIST, 1}, {IDC_CONFIGURATION_GROUP, 2}, {IDC_VIEW_UPGRADES, 3},
    {IDC_INSTALL_UPGRADE, 4}, {IDC_FRAME_LABEL, 1}, {IDC_SLOT_LABEL, 8}, {IDC_PRODUCT_LABEL, 2},
    {IDC_SERIAL_LABEL, 2}, {IDC_UNIQUE_ID_LABEL, 2}, {IDC_DEPTH_LABEL, 2}, {IDC_SPEED_LABEL, 2},
    {IDC_TIMING_LABEL, 2}, {IDC_CHANNELS_LABEL, 2}, {IDC_NO_MODULE, 2}, {IDC_PRODUCT_NAME, 2},
    {IDC_SERIAL_NUMBER, 2}, {IDC_UNIQUE_ID, 2}, {IDC_MEMORY_DEPTH, 2}, {IDC_STATE_SPEED, 2},
    {IDC_TIMING_SPEED, 2}, {IDC_CHANNELS, 2},
};
static_assert(std::size(kMainHelpTable) == 22);

constexpr HelpPair kUpgradesHelpTable[] = {
    {IDC_UPGRADE_FRAME_LABEL, 2}, {IDC_UPGRADE_SLOT_LABEL, 2}, {IDC_CURRENT_DEPTH_LABEL, 2},
    {IDC_CURRENT_SPEED_LABEL, 2}, {IDC_UPGRADE_FRAME, 2}, {IDC_UPGRADE_SLOT, 2}, {IDC_UPGRADE_DEPTH, 2},
    {IDC_UPGRADE_SPEED, 2}, {IDC_POSSIBLE_LABEL, 5}, {IDC_KIT_HEADING, 5}, {IDC_DEPTH_HEADING, 5},
    {IDC_SPEED_HEADING, 5}, {IDC_UPGRADE_LIST, 5}, {IDC_NO_UPGRADES, 5}, {IDC_PRINT_TO_FILE, 6},
};
static_assert(std::size(kUpgradesHelpTable) == 15);

// In the table for what a click in the list area shows, but the templates give the notice of
// an empty list no context id, so F1 on it shows nothing, as on the buttons beside it.
constexpr int kWithoutContextId[] = {IDC_NO_UPGRADES};

bool CarriesContextId(int controlId)
{
    return std::find(std::begin(kWithoutContextId), std::end(kWithoutContextId), controlId) == std::end(kWithoutContextId);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

CHelpRouting::CHelpRouting(win32::IHtmlHelp& htmlHelp, const std::string& programFolder) : m_htmlHelp(htmlHelp)
{
    const std::string installed = std::string(kHelpSystemFolder) + kHelpFileName;
    m_helpFilePath = FileExists(installed) ? installed : programFolder + "\\" + kHelpFileName;
}

std::span<const HelpPair> CHelpRouting::MainHelpTable() { return kMainHelpTable; }
std::span<const HelpPair> CHelpRouting::UpgradesHelpTable() { return kUpgradesHelpTable; }

int CHelpRouting::TopicOf(std::span<const HelpPair> table, int controlId)
{
    for (const HelpPair& pair : table)
        if (pair.controlId == controlId)
            return pair.topic;
    return 0;
}

void CHelpRouting::ApplyContextIds(HWND dialog, std::span<const HelpPair> table, DWORD base)
{
    for (const HelpPair& pair : table) {
        const HWND control = ::GetDlgItem(dialog, pair.controlId);
        if (control != nullptr && ::GetWindowContextHelpId(control) == 0 && CarriesContextId(pair.controlId))
            ::SetWindowContextHelpId(control, base + static_cast<DWORD>(pair.controlId));
    }
}

void CHelpRouting::ShowContents(HWND owner) { m_htmlHelp.Call(owner, m_helpFilePath, HH_DISPLAY_TOC, 0); }

void CHelpRouting::ShowContext(HWND owner, DWORD context)
{
    m_htmlHelp.Call(owner, m_helpFilePath, HH_HELP_CONTEXT, context);
}

void CHelpRouting::ShowPopupHelp(HWND control, int x, int y, int topic)
{
    if (!m_htmlHelp.IsAvailable())
        return;
    HH_POPUP popup{};
    popup.cbStruct = sizeof popup;
    popup.idString = static_cast<UINT>(topic);
    popup.pszText = "";
    popup.pt = POINT{x, y};
    popup.clrForeground = RGB(0, 0, 0);
    popup.clrBackground = win32::CHelpPopup::kBackground;
    popup.rcMargins = RECT{-1, -1, -1, -1};
    popup.pszFont = kPopupFont;
    if (m_htmlHelp.Call(control, PopupTextPath(), HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup)))
        return;
    const auto& texts = EmbeddedPopupTexts();
    if (const auto text = texts.find(topic); text != texts.end())
        m_popup.Show(text->second, popup.pt);
}

void CHelpRouting::RunHelpMode(HWND mainWindow)
{
    // A popup still shown would stand between the pointer and what it points at.
    m_popup.Close();
    m_helpModeActive = true;
    const HCURSOR help = ::LoadCursorA(nullptr, IDC_HELP);
    const HCURSOR previous = ::SetCursor(help);
    ::SetCapture(mainWindow);
    MSG message{};
    while (::GetCapture() == mainWindow && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
            break;
        if (message.message == WM_LBUTTONDOWN) {
            POINT point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
            ::ClientToScreen(message.hwnd, &point);
            ::ReleaseCapture();
            HitTest(point);
            break;
        }
        if (message.message == WM_MOUSEMOVE)
            ::SetCursor(help);
        if ((message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) ||
            (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST))
            continue;  // the help mode takes the input for itself
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    if (message.message == WM_QUIT)
        ::PostQuitMessage(static_cast<int>(message.wParam));
    if (::GetCapture() == mainWindow)
        ::ReleaseCapture();
    ::SetCursor(previous);
}

// The window under the point is asked first, then its parents, until one answers.
void CHelpRouting::HitTest(POINT screenPoint)
{
    HWND window = ::WindowFromPoint(screenPoint);
    DWORD process = 0;
    if (window == nullptr || ::GetWindowThreadProcessId(window, &process) == 0 || process != ::GetCurrentProcessId())
        return;
    for (; window != nullptr; window = (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0 ? ::GetParent(window) : nullptr) {
        POINT client = screenPoint;
        ::ScreenToClient(window, &client);
        if (::SendMessageA(window, win32::kHelpHitTest, 0, MAKELPARAM(client.x, client.y)) != 0)
            return;
    }
}

bool CHelpRouting::OnHelpRequest(HWND dialog, const HELPINFO& request, std::span<const HelpPair> table)
{
    if (request.iContextType != HELPINFO_WINDOW || request.dwContextId == 0)
        return false;
    const int topic = TopicOf(table, request.iCtrlId);
    if (topic == 0)
        return false;
    if (const HWND control = ::GetDlgItem(dialog, request.iCtrlId); control != nullptr) {
        RECT bounds{};
        ::GetWindowRect(control, &bounds);
        ShowPopupHelp(control, (bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2, topic);
    }
    return true;
}

}  // namespace stratigon::ui
