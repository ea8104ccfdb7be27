// The main dialog: the user picks a frame and a slot, sees the identity and configuration of
// the module there, and opens the Possible Upgrades dialog or the install window for it.
#pragma once

#include <cstdint>
#include <string>

#include "instrument/IMessageSink.h"
#include "module/CModule.h"
#include "module/ModuleReading.h"
#include "module/ModuleCodes.h"
#include "report/CUpgradeInfoFile.h"
#include "ui/ApplicationState.h"
#include "ui/CHelpRouting.h"
#include "ui/CMainStatusBar.h"
#include "ui/CStratigonDlg.h"
#include "ui/IAutomationProxy.h"

namespace stratigon::ui {

class CMainWindow final : public win32::CDialogImpl<CMainWindow, CStratigonDlg> {
public:
    static constexpr ViSession kNoModule = static_cast<ViSession>(-1);
    static constexpr int kNoFrame = -1;

    CMainWindow(CModule& module, IMessageSink& messages, CUpgradeInfoFile& report, ApplicationState& application);
    ~CMainWindow() override;

    void FillFrameAndSlotLists();
    void RefreshModuleTexts();
    void UpdateDisplay();
    bool HasUsableModule() const;
    bool IsClientConnected() const;

    void OnFrameChanged();
    void OnSlotChanged();
    void OnViewPossibleUpgrades();
    void OnInstallUpgrade();
    void OnExit();
    void OnClose();
    void OnHelpTopics();
    void OnTechnicalSupport();
    void OnWhatsThis();
    // A What's This click at `point` (client coordinates): the popup of the control there.
    // Answers with context 0.
    LRESULT OnHelpHitTest(POINT point);

    // The proxy every automation client shares; made when there is none. Null when none can be had.
    IAutomationProxy* GetAutomationProxy();
    void ForgetAutomationProxy();
    bool HasAutomationProxy() const { return m_automationProxy != nullptr; }

    // The operations behind the automation methods. Modules are named by serial number or
    // unique ID (either in any letter case); results are 0 or an AutomationResult. Each reads
    // modules through the module object and then reads the selected module again.
    ViSession FindModuleByUniqueId(const std::string& uniqueId);
    std::uint32_t GetUniqueIdBySerial(const std::string& serialNumber, std::string& uniqueId);
    std::uint32_t SelectModuleByUniqueId(const std::string& uniqueId);
    void SelectFrameAndModule(int frame, ViSession session);
    std::uint32_t InstallUpgradeByUniqueId(const std::string& upgrade, const std::string& uniqueId);
    std::uint32_t SaveUpgradeInfoByUniqueId(const std::string& path, const std::string& uniqueId,
                                            const std::string& upgradeText);
    // The readings behind the automation module objects: every module once in table order, or
    // one module again; then the selected module again, as after every operation above.
    std::vector<ModuleReading> ReadEveryModuleForClient();
    ModuleReading ReadModuleForClient(const DeviceEntry& device);

    // The status bar: created under the controls, the dialog growing by its height. Returns
    // the prompt shown before.
    bool CreateStatusBar();
    int SetStatusMessage(int stringId);
    void UpdateClientIndicator();
    const CMainStatusBar& StatusBar() const { return m_statusBar; }

    int SelectedFrame() const { return m_selectedFrame; }
    ViSession SelectedModule() const { return m_selectedModule; }
    int SelectionStatus() const { return m_selectionStatus; }

    static std::span<const CommandEntry> CommandTable();
    static std::span<const MessageEntry> MessageTable();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnDpiChanged(win32::DpiScale scale, const RECT& suggested) override;

private:
    void FitStatusBar();
    void TransferToControls();
    void AddSlotsOfSelectedFrame();
    void SelectFirstSlot();
    void SelectSlotOfModule(ViSession session);
    void ReadSelectedModuleAgain();
    void ShowSelectedModule();
    void ShowLabels(const int* shown, const int* hidden);
    void ShowNoModuleLabels();
    void ShowAnalyzerLabels();
    void ShowPatternGeneratorLabels();
    void EnableWithLabel(int listId, int labelId);
    void OnEscape() {}

    bool HandleClose(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleInitMenuPopup(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleMenuSelect(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleEnterIdle(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleSetMessageString(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleHelp(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleHelpHitTest(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleShowStartupNotice(WPARAM wParam, LPARAM lParam, LRESULT& result);

    CModule& m_module;
    IMessageSink& m_messages;
    CUpgradeInfoFile& m_report;
    ApplicationState& m_application;
    IAutomationProxy* m_automationProxy = nullptr;
    int m_selectedFrame = kNoFrame;
    ViSession m_selectedModule = kNoModule;
    int m_trackedPrompt = 0;
    int m_shownPrompt = 0;
    int m_selectionStatus = ModuleCode::Success;
    bool m_statusBarReady = false;
    std::string m_productName, m_serialNumber, m_uniqueId, m_channels, m_stateSpeed, m_timingSpeed,
        m_memoryDepth;
    std::string m_slotText;
    std::string m_frameName;
    CMainStatusBar m_statusBar{[this] { return IsClientConnected(); }};
};

}  // namespace stratigon::ui
