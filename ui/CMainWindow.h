// The main dialog: the user picks a frame and a slot, sees the identity and configuration of
// the module there, and opens the Possible Upgrades dialog or the install window for it.
#pragma once

#include <string>

#include "instrument/IMessageSink.h"
#include "module/CModule.h"
#include "report/CUpgradeInfoFile.h"
#include "ui/CStratigonDlg.h"

namespace stratigon::ui {

class CStratigonDlgAutoProxy;

// What the main dialog needs to know of the application that runs it.
struct ApplicationState {
    bool mainDlgRunning = false;
};

class CMainWindow final : public CStratigonDlg<CMainWindow> {
public:
    static constexpr ViSession kNoModule = static_cast<ViSession>(-1);
    static constexpr int kNoFrame = -1;

    CMainWindow(CModule& module, IMessageSink& messages, CUpgradeInfoFile& report, ApplicationState& application);
    ~CMainWindow() override;

    bool FillFrameAndSlotLists();
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

    CStratigonDlgAutoProxy* GetAutomationProxy();
    void ForgetAutomationProxy();

    int SelectedFrame() const { return m_selectedFrame; }
    ViSession SelectedModule() const { return m_selectedModule; }
    int SelectionStatus() const { return m_selectionStatus; }

    static std::span<const CommandEntry> CommandTable();
    static std::span<const MessageEntry> MessageTable();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void TransferToControls();
    void AddSlotsOfSelectedFrame();
    void SelectFirstSlot();
    void ShowLabels(const int* shown, const int* hidden);
    void ShowNoModuleLabels();
    void ShowAnalyzerLabels();
    void ShowPatternGeneratorLabels();
    void EnableWithLabel(int listId, int labelId);
    void SetStatusMessage(int stringId);
    void UpdateClientIndicator();
    void OnEscape() {}

    bool HandleClose(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleInitMenuPopup(WPARAM wParam, LPARAM lParam, LRESULT& result);

    CModule& m_module;
    IMessageSink& m_messages;
    CUpgradeInfoFile& m_report;
    ApplicationState& m_application;
    CStratigonDlgAutoProxy* m_automationProxy = nullptr;
    int m_selectedFrame = kNoFrame;
    ViSession m_selectedModule = kNoModule;
    int m_trackedPrompt = 0;
    int m_shownPrompt = 0;
    int m_selectionStatus = 112;
    bool m_statusBarReady = false;
    std::string m_productName, m_serialNumber, m_uniqueId, m_channels, m_stateSpeed, m_timingSpeed,
        m_memoryDepth;
    std::string m_slotText;
    std::string m_frameName;
};

}  // namespace stratigon::ui
