#include "ui/CMainWindow.h"

#include <windowsx.h>

#include <cstdio>
#include <iterator>
#include <utility>

#include "catalogue/AutomationResult.h"
#include "catalogue/CatalogueText.h"
#include "catalogue/ModuleLookup.h"
#include "catalogue/OptionNames.h"
#include "catalogue/UpgradeInstallation.h"
#include "instrument/FrameNames.h"
#include "module/ModuleCodes.h"
#include "res/resource.h"
#include "ui/CInstallUpgradeDlg.h"
#include "ui/CPossibleUpgradesDlg.h"
#include "ui/SharedDialogPosition.h"
#include "win32/FrameworkMessages.h"

namespace stratigon::ui {

namespace {

constexpr int kAllLabels[] = {IDC_PRODUCT_LABEL, IDC_SERIAL_LABEL, IDC_UNIQUE_ID_LABEL, IDC_DEPTH_LABEL,
                              IDC_SPEED_LABEL, IDC_TIMING_LABEL, IDC_CHANNELS_LABEL, 0};
constexpr int kNoModuleText[] = {IDC_NO_MODULE, 0};
constexpr int kPatternGeneratorLabels[] = {IDC_PRODUCT_LABEL, IDC_SERIAL_LABEL, IDC_UNIQUE_ID_LABEL,
                                           IDC_DEPTH_LABEL, IDC_SPEED_LABEL, 0};
constexpr int kPatternGeneratorHidden[] = {IDC_TIMING_LABEL, IDC_CHANNELS_LABEL, IDC_NO_MODULE, 0};

// Posted by the dialog to itself: the start-up notice waits until the dialog runs.
constexpr UINT kShowStartupNotice = WM_APP + 1;

// How far right of and below the main dialog the child dialogs first open, at 100 %.
constexpr LONG kChildDialogOffset = 100;

// System commands have prompts of their own, at 0xEF00 + the command's index.
constexpr UINT kFirstSystemCommand = 0xF000;
constexpr UINT kLastSystemCommand = 0xF1EF;
constexpr int kFirstSystemPrompt = 0xEF00;

int ListCount(HWND list) { return static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0)); }

}  // namespace

CMainWindow::CMainWindow(CModule& module, IMessageSink& messages, CUpgradeInfoFile& report,
                         ApplicationState& application)
    : CDialogImpl(IDD_STRATIGON_DIALOG, application.versions), m_module(module), m_messages(messages), m_report(report),
      m_application(application)
{
}

CMainWindow::~CMainWindow()
{
    if (m_automationProxy != nullptr) {
        m_automationProxy->DetachMainDialog();
        ForgetAutomationProxy();
    }
}

std::span<const CMainWindow::CommandEntry> CMainWindow::CommandTable()
{
    static const CommandEntry table[] = {
        {IDC_FRAME_LIST, &CMainWindow::OnFrameChanged, CBN_SELCHANGE},
        {IDC_SLOT_LIST, &CMainWindow::OnSlotChanged, CBN_SELCHANGE},
        {ID_FILE_VIEW_UPGRADES, &CMainWindow::OnViewPossibleUpgrades},
        {IDC_VIEW_UPGRADES, &CMainWindow::OnViewPossibleUpgrades},
        {ID_FILE_INSTALL_UPGRADE, &CMainWindow::OnInstallUpgrade},
        {IDC_INSTALL_UPGRADE, &CMainWindow::OnInstallUpgrade},
        {ID_FILE_EXIT, &CMainWindow::OnExit},
        {ID_HELP_TOPICS, &CMainWindow::OnHelpTopics},
        {ID_HELP_SUPPORT, &CMainWindow::OnTechnicalSupport},
        {ID_HELP_WHATS_THIS, &CMainWindow::OnWhatsThis},
        {IDCANCEL, &CMainWindow::OnEscape},
    };
    return table;
}

std::span<const CMainWindow::MessageEntry> CMainWindow::MessageTable()
{
    static const MessageEntry table[] = {
        {WM_CLOSE, &CMainWindow::HandleClose},
        {WM_INITMENUPOPUP, &CMainWindow::HandleInitMenuPopup},
        {WM_MENUSELECT, &CMainWindow::HandleMenuSelect},
        {WM_ENTERIDLE, &CMainWindow::HandleEnterIdle},
        {win32::kSetMessageString, &CMainWindow::HandleSetMessageString},
        {WM_HELP, &CMainWindow::HandleHelp},
        {win32::kHelpHitTest, &CMainWindow::HandleHelpHitTest},
        {kShowStartupNotice, &CMainWindow::HandleShowStartupNotice},
    };
    return table;
}

BOOL CMainWindow::OnInitDialog()
{
    CStratigonDlg::OnInitDialog();
    BecomeApplicationWindow();
    CHelpRouting::ApplyContextIds(GetHwnd(), CHelpRouting::MainHelpTable(), HELPID_MAIN);
    FillFrameAndSlotLists();
    if (!CreateStatusBar())
        return TRUE;
    m_statusBarReady = true;
    CenterOnScreen();
    const POINT topLeft = TopLeft();
    const int offset = win32::DpiScale::OfWindow(GetHwnd()).Pixels(kChildDialogOffset);
    SharedDialogPosition = POINT{topLeft.x + offset, topLeft.y + offset};
    TransferToControls();
    UpdateDisplay();
    SetFocusTo(IDC_FRAME_LIST);
    ::SetForegroundWindow(GetHwnd());
    if (!m_application.startupNotice.empty())
        ::PostMessageA(GetHwnd(), kShowStartupNotice, 0, 0);
    return FALSE;
}

void CMainWindow::FillFrameAndSlotLists()
{
    ::SendMessageA(Item(IDC_FRAME_LIST), CB_RESETCONTENT, 0, 0);
    ::SendMessageA(Item(IDC_SLOT_LIST), CB_RESETCONTENT, 0, 0);
    if (m_module.GetDeviceCount() == 0) {
        m_selectedModule = kNoModule;
    } else {
        for (int frame = 0; frame < m_module.GetFrameCount(); ++frame)
            ::SendMessageA(Item(IDC_FRAME_LIST), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FrameName(frame).c_str()));
        m_selectedFrame = m_module.GetDevice(0).interfaceNumber;
        ::SendMessageA(Item(IDC_FRAME_LIST), CB_SETCURSEL, static_cast<WPARAM>(m_selectedFrame), 0);
        m_frameName = FrameName(m_selectedFrame);
        AddSlotsOfSelectedFrame();
        SelectFirstSlot();
    }
    m_selectionStatus = m_module.ReadModule(m_selectedModule);
}

void CMainWindow::AddSlotsOfSelectedFrame()
{
    const HWND slots = Item(IDC_SLOT_LIST);
    for (int row = 0; row < m_module.GetDeviceCount(); ++row) {
        const DeviceEntry& device = m_module.GetDevice(row);
        if (device.interfaceNumber != m_selectedFrame)
            continue;
        char text[16];
        std::snprintf(text, sizeof text, "%d", device.slot);
        const LRESULT index = ::SendMessageA(slots, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        ::SendMessageA(slots, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(device.session));
    }
}

void CMainWindow::SelectFirstSlot()
{
    const HWND slots = Item(IDC_SLOT_LIST);
    ::SendMessageA(slots, CB_SETCURSEL, 0, 0);
    m_selectedModule = static_cast<ViSession>(::SendMessageA(slots, CB_GETITEMDATA, 0, 0));
    m_slotText = ItemText(IDC_SLOT_LIST);
}

void CMainWindow::RefreshModuleTexts()
{
    m_productName = m_module.GetProductName();
    m_serialNumber = m_module.GetSerialNumber();
    m_uniqueId = m_module.GetUniqueId();
    m_memoryDepth = m_module.GetMemoryDepth();
    m_stateSpeed = m_module.GetStateSpeed();
    m_timingSpeed = m_module.GetTimingSpeed();
    m_channels = m_module.GetChannels();
}

void CMainWindow::TransferToControls()
{
    RefreshModuleTexts();
    SetItemText(IDC_PRODUCT_NAME, m_productName);
    SetItemText(IDC_SERIAL_NUMBER, m_serialNumber);
    SetItemText(IDC_UNIQUE_ID, m_uniqueId);
    SetItemText(IDC_CHANNELS, m_channels);
    SetItemText(IDC_STATE_SPEED, m_stateSpeed);
    SetItemText(IDC_TIMING_SPEED, m_timingSpeed);
    SetItemText(IDC_MEMORY_DEPTH, m_memoryDepth);
}

bool CMainWindow::HasUsableModule() const
{
    return m_selectedFrame != kNoFrame && m_selectedModule != kNoModule && m_selectionStatus == ModuleCode::Success;
}

bool CMainWindow::IsClientConnected() const
{
    return m_application.mainWindow == this && m_automationProxy != nullptr;
}

void CMainWindow::EnableWithLabel(int listId, int labelId)
{
    const bool choice = ListCount(Item(listId)) > 1;
    EnableItem(listId, choice);
    EnableItem(labelId, choice);
}

void CMainWindow::UpdateDisplay()
{
    EnableWithLabel(IDC_FRAME_LIST, IDC_FRAME_LABEL);
    EnableWithLabel(IDC_SLOT_LIST, IDC_SLOT_LABEL);
    EnableItem(IDC_VIEW_UPGRADES, HasUsableModule());
    EnableItem(IDC_INSTALL_UPGRADE, HasUsableModule());
    SetStatusMessage(m_selectionStatus);
    UpdateClientIndicator();
    if (m_selectedModule == kNoModule)
        ShowNoModuleLabels();
    else if (m_module.IsPatternGenerator())
        ShowPatternGeneratorLabels();
    else if (m_module.GetProductType() != ProductType::UnknownProduct)
        ShowAnalyzerLabels();
    else
        ShowNoModuleLabels();
    if (m_statusBarReady)
        m_statusBar.RedrawNow();
}

void CMainWindow::ShowLabels(const int* shown, const int* hidden)
{
    for (; *shown != 0; ++shown)
        ShowItem(*shown, true);
    for (; *hidden != 0; ++hidden)
        ShowItem(*hidden, false);
}

void CMainWindow::ShowNoModuleLabels() { ShowLabels(kNoModuleText, kAllLabels); }
void CMainWindow::ShowAnalyzerLabels() { ShowLabels(kAllLabels, kNoModuleText); }
void CMainWindow::ShowPatternGeneratorLabels() { ShowLabels(kPatternGeneratorLabels, kPatternGeneratorHidden); }

bool CMainWindow::CreateStatusBar()
{
    if (!m_statusBar.Create(GetHwnd()))
        return false;
    AttachOwnerDraw(CMainStatusBar::kId, m_statusBar);
    FitStatusBar();
    return true;
}

// The dialog is as tall as its template plus the bar; nothing above the bar moves.
void CMainWindow::FitStatusBar()
{
    RECT bar{};
    ::GetWindowRect(m_statusBar.GetHwnd(), &bar);
    RECT window{}, client{};
    ::GetWindowRect(GetHwnd(), &window);
    ::GetClientRect(GetHwnd(), &client);
    const LONG height = TemplateClientSize().cy + (bar.bottom - bar.top);
    ::SetWindowPos(GetHwnd(), nullptr, 0, 0, window.right - window.left,
                   window.bottom - window.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_statusBar.LayOut();
}

void CMainWindow::OnDpiChanged(win32::DpiScale scale, const RECT& suggested)
{
    CStratigonDlg::OnDpiChanged(scale, suggested);
    m_statusBar.SetScale(scale);
    FitStatusBar();
}

int CMainWindow::SetStatusMessage(int stringId)
{
    if (stringId != 0) {
        const std::string text = win32::LoadResourceString(static_cast<UINT>(stringId));
        if (!text.empty())
            m_statusBar.SetStatusText(text);
    }
    const int previous = m_shownPrompt;
    m_shownPrompt = m_trackedPrompt = stringId;
    return previous;
}

void CMainWindow::UpdateClientIndicator()
{
    if (m_statusBarReady)
        m_statusBar.RedrawNow();
}

// A highlighted entry is only noted; its prompt shows once the menu waits for the user.
bool CMainWindow::HandleMenuSelect(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    result = 0;
    if (flags == 0xFFFF && lParam == 0) {
        m_trackedPrompt = m_selectedFrame == kNoFrame                ? IDS_NO_INSTRUMENTS
                          : m_selectedModule == kNoModule            ? IDS_NO_MODULES
                                                                     : m_selectionStatus;
        SetStatusMessage(m_trackedPrompt);
    } else if (item == 0 || (flags & (MF_SEPARATOR | MF_POPUP | MF_MENUBREAK | MF_MENUBARBREAK)) != 0) {
        m_trackedPrompt = IDS_IDLE_PROMPT;
        SetStatusMessage(IDS_IDLE_PROMPT);
    } else if (item >= kFirstSystemCommand && item <= kLastSystemCommand) {
        m_trackedPrompt = kFirstSystemPrompt + static_cast<int>((item - kFirstSystemCommand) >> 4);
    } else {
        m_trackedPrompt = static_cast<int>(item);
    }
    return true;
}

bool CMainWindow::HandleEnterIdle(WPARAM wParam, LPARAM, LRESULT&)
{
    if (wParam == MSGF_MENU && m_trackedPrompt != m_shownPrompt)
        SetStatusMessage(m_trackedPrompt);
    return false;
}

bool CMainWindow::HandleSetMessageString(WPARAM wParam, LPARAM, LRESULT& result)
{
    result = SetStatusMessage(static_cast<int>(wParam));
    return true;
}

void CMainWindow::OnFrameChanged()
{
    const int picked = static_cast<int>(::SendMessageA(Item(IDC_FRAME_LIST), CB_GETCURSEL, 0, 0));
    if (picked == m_selectedFrame || picked < 0)
        return;
    m_selectedFrame = picked;
    m_frameName = FrameName(picked);
    ::SendMessageA(Item(IDC_SLOT_LIST), CB_RESETCONTENT, 0, 0);
    AddSlotsOfSelectedFrame();
    if (ListCount(Item(IDC_SLOT_LIST)) > 0) {
        SelectFirstSlot();
        m_selectionStatus = m_module.ReadModule(m_selectedModule);
    } else {
        m_slotText.clear();
        m_messages.ShowMessage(ModuleCodeText(ModuleCode::NoModule));
        m_module.ClearModuleTexts();
        m_selectedModule = kNoModule;
    }
    TransferToControls();
    UpdateDisplay();
}

void CMainWindow::OnSlotChanged()
{
    const HWND slots = Item(IDC_SLOT_LIST);
    const LRESULT picked = ::SendMessageA(slots, CB_GETCURSEL, 0, 0);
    if (picked < 0)
        return;
    m_selectedModule = static_cast<ViSession>(::SendMessageA(slots, CB_GETITEMDATA, static_cast<WPARAM>(picked), 0));
    m_selectionStatus = m_module.ReadModule(m_selectedModule);
    m_slotText = ItemText(IDC_SLOT_LIST);
    TransferToControls();
    UpdateDisplay();
}

void CMainWindow::OnViewPossibleUpgrades()
{
    if (!HasUsableModule())
        return;
    CPossibleUpgradesDlg dialog(m_module, m_messages, m_report, m_frameName, m_slotText, m_application.help);
    dialog.DoModal(GetHwnd());
}

void CMainWindow::OnInstallUpgrade()
{
    if (!HasUsableModule())
        return;
    const ViSession installedOn = m_selectedModule;
    CInstallUpgradeDlg dialog(m_module, m_messages, installedOn, m_frameName, m_slotText);
    dialog.DoModal(GetHwnd());
    // A client may have selected another module while the window was open; the record then
    // may still describe the module the window installed on.
    if (m_selectedModule != installedOn)
        m_selectionStatus = m_module.ReadModule(m_selectedModule);
    ShowSelectedModule();
}

void CMainWindow::OnExit() { ::PostMessageA(GetHwnd(), WM_CLOSE, 0, 0); }

void CMainWindow::OnClose()
{
    if (IsClientConnected()) {
        m_messages.ShowMessage("Cannot close the application.\nThere is a client connecting to it.");
        return;
    }
    EndDialog(IDCANCEL);
}

bool CMainWindow::HandleClose(WPARAM, LPARAM, LRESULT& result)
{
    OnClose();
    result = 0;
    return true;
}

bool CMainWindow::HandleInitMenuPopup(WPARAM wParam, LPARAM lParam, LRESULT&)
{
    if (HIWORD(lParam) != 0)
        return false;  // the system menu keeps its own states
    const HMENU menu = reinterpret_cast<HMENU>(wParam);
    const UINT enabled = HasUsableModule() ? MF_ENABLED : MF_GRAYED;
    ::EnableMenuItem(menu, ID_FILE_VIEW_UPGRADES, MF_BYCOMMAND | enabled);
    ::EnableMenuItem(menu, ID_FILE_INSTALL_UPGRADE, MF_BYCOMMAND | enabled);
    const bool helpMode = m_application.help != nullptr && m_application.help->HelpModeActive();
    ::CheckMenuItem(menu, ID_HELP_WHATS_THIS, MF_BYCOMMAND | (helpMode ? MF_CHECKED : MF_UNCHECKED));
    return false;
}

IAutomationProxy* CMainWindow::GetAutomationProxy()
{
    if (m_automationProxy == nullptr && m_application.proxyFactory != nullptr) {
        m_automationProxy = m_application.proxyFactory->CreateAutomationProxy();
        if (m_automationProxy != nullptr)
            UpdateClientIndicator();
    }
    return m_automationProxy;
}

void CMainWindow::ForgetAutomationProxy()
{
    m_automationProxy = nullptr;
    UpdateClientIndicator();
    // A client that hid the window has gone: nobody could close a program that stayed hidden.
    if (GetHwnd() != nullptr && !::IsWindowVisible(GetHwnd()))
        ::ShowWindow(GetHwnd(), SW_SHOW);
}

ViSession CMainWindow::FindModuleByUniqueId(const std::string& uniqueId)
{
    const FoundModule found = stratigon::FindModuleByUniqueId(m_module, uniqueId);
    return found ? m_module.GetDevice(found.row).session : kNoModule;
}

std::uint32_t CMainWindow::GetUniqueIdBySerial(const std::string& serialNumber, std::string& uniqueId)
{
    const UniqueIdLookup lookup = FindUniqueIdBySerial(m_module, serialNumber);
    if (lookup.result == AutomationResult::Success)
        uniqueId = lookup.uniqueId;
    ReadSelectedModuleAgain();
    return lookup.result;
}

std::uint32_t CMainWindow::SelectModuleByUniqueId(const std::string& uniqueId)
{
    std::uint32_t result = AutomationResult::UniqueIdNotFound;
    if (const FoundModule found = stratigon::FindModuleByUniqueId(m_module, uniqueId)) {
        const DeviceEntry device = m_module.GetDevice(found.row);
        if (device.session != m_selectedModule) {
            m_selectionStatus = found.status;
            SelectFrameAndModule(device.interfaceNumber, device.session);
        }
        result = AutomationResult::Success;
    }
    ReadSelectedModuleAgain();
    return result;
}

void CMainWindow::SelectFrameAndModule(int frame, ViSession session)
{
    const HWND frames = Item(IDC_FRAME_LIST);
    if (frame != static_cast<int>(::SendMessageA(frames, CB_GETCURSEL, 0, 0))) {
        m_selectedFrame = frame;
        ::SendMessageA(frames, CB_SETCURSEL, static_cast<WPARAM>(frame), 0);
        m_frameName = FrameName(frame);
        ::SendMessageA(Item(IDC_SLOT_LIST), CB_RESETCONTENT, 0, 0);
        AddSlotsOfSelectedFrame();
    } else if (session == m_selectedModule) {
        return;
    }
    m_selectedModule = session;
    SelectSlotOfModule(session);
    TransferToControls();
    UpdateDisplay();
}

// Selects the slot entry of the module; when the list has none, its first entry and no text.
void CMainWindow::SelectSlotOfModule(ViSession session)
{
    const HWND slots = Item(IDC_SLOT_LIST);
    for (int entry = 0; entry < ListCount(slots); ++entry) {
        if (static_cast<ViSession>(::SendMessageA(slots, CB_GETITEMDATA, static_cast<WPARAM>(entry), 0)) == session) {
            ::SendMessageA(slots, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
            m_slotText = ItemText(IDC_SLOT_LIST);
            return;
        }
    }
    ::SendMessageA(slots, CB_SETCURSEL, 0, 0);
    m_slotText.clear();
}

std::uint32_t CMainWindow::InstallUpgradeByUniqueId(const std::string& upgrade, const std::string& uniqueId)
{
    std::uint32_t result = AutomationResult::UniqueIdNotFound;
    const ViSession session = FindModuleByUniqueId(uniqueId);
    if (session != kNoModule) {
        const std::int32_t row = FindProductOptionByDesignation(m_module.GetProductName(), UpperCase(upgrade));
        result = InstallOptionForClient(m_module, session, row, m_messages);
    }
    ReadSelectedModuleAgain();
    ShowSelectedModule();
    return result;
}

std::uint32_t CMainWindow::SaveUpgradeInfoByUniqueId(const std::string& path, const std::string& uniqueId,
                                                     const std::string& upgradeText)
{
    std::uint32_t result = AutomationResult::UniqueIdNotFound;
    if (FindModuleByUniqueId(uniqueId) != kNoModule)
        result = m_report.SaveUpgradeInfo(m_module, upgradeText, path);
    ReadSelectedModuleAgain();
    return result;
}

std::vector<ModuleReading> CMainWindow::ReadEveryModuleForClient()
{
    std::vector<ModuleReading> readings = ReadEveryModule(m_module);
    ReadSelectedModuleAgain();
    return readings;
}

ModuleReading CMainWindow::ReadModuleForClient(const DeviceEntry& device)
{
    ModuleReading reading = ReadModuleOf(m_module, device);
    ReadSelectedModuleAgain();
    return reading;
}

// The module object describes the dialog's selection again; the code is not kept.
void CMainWindow::ReadSelectedModuleAgain()
{
    if (m_selectedModule != kNoModule)
        m_module.ReadModule(m_selectedModule);
}

// The value fields show the module object's record only while it is the selected module's:
// with no module selected they stay empty, whatever other module was read last.
void CMainWindow::ShowSelectedModule()
{
    if (m_selectedModule != kNoModule)
        TransferToControls();
    UpdateDisplay();
}

void CMainWindow::OnHelpTopics()
{
    if (m_application.help != nullptr)
        m_application.help->ShowContents(ApplicationWindow());
}

void CMainWindow::OnTechnicalSupport()
{
    if (m_application.help != nullptr)
        m_application.help->ShowContext(ApplicationWindow(), CHelpRouting::kTechnicalSupportContext);
}

void CMainWindow::OnWhatsThis()
{
    if (m_application.help != nullptr)
        m_application.help->RunHelpMode(ApplicationWindow());
}

LRESULT CMainWindow::OnHelpHitTest(POINT point)
{
    if (m_application.help == nullptr)
        return 0;
    m_application.help->SetHelpModeActive(false);
    ::ClientToScreen(GetHwnd(), &point);
    // The group box comes before the labels and values inside it, so it answers for them all.
    for (const HelpPair& pair : CHelpRouting::MainHelpTable()) {
        const HWND control = Item(pair.controlId);
        if (control == nullptr)
            break;
        RECT bounds{};
        ::GetWindowRect(control, &bounds);
        if (::PtInRect(&bounds, point)) {
            m_application.help->ShowPopupHelp(control, point.x, point.y, pair.topic);
            break;
        }
    }
    return 0;
}

bool CMainWindow::HandleHelp(WPARAM, LPARAM lParam, LRESULT& result)
{
    if (m_application.help == nullptr ||
        !m_application.help->OnHelpRequest(GetHwnd(), *reinterpret_cast<const HELPINFO*>(lParam),
                                           CHelpRouting::MainHelpTable()))
        return false;
    result = TRUE;
    return true;
}

bool CMainWindow::HandleHelpHitTest(WPARAM, LPARAM lParam, LRESULT& result)
{
    result = OnHelpHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return true;
}

bool CMainWindow::HandleShowStartupNotice(WPARAM, LPARAM, LRESULT& result)
{
    const std::string notice = std::exchange(m_application.startupNotice, std::string());
    if (!notice.empty())
        m_messages.ShowMessage(notice.c_str());
    result = 0;
    return true;
}

}  // namespace stratigon::ui
