// Where help goes: the compiled help file opened at its contents or at a context, the What's
// This popups of the main dialog and the Possible Upgrades dialog by control, and the help
// mode of Help > What's This?. One for the application.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>

#include "win32/CHelpPopup.h"
#include "win32/IHtmlHelp.h"

namespace stratigon::ui {

struct HelpPair {
    int controlId;
    int topic;
};

class CHelpRouting {
public:
    // Where the instrument application keeps its help; the program's own folder is the
    // fallback.
    static constexpr char kHelpSystemFolder[] = "C:\\Quorvalis\\KVXAnalyzer\\System\\";
    static constexpr char kHelpFileName[] = "Stratigon.chm";
    static constexpr char kPopupFile[] = "::/Whats_This_Help/Stratigon.txt";
    static constexpr DWORD kPossibleUpgradesContext = 1002;
    static constexpr DWORD kTechnicalSupportContext = 1003;

    // The help file is HelpSystemFolder's when it is there, else the one in `programFolder`.
    CHelpRouting(win32::IHtmlHelp& htmlHelp, const std::string& programFolder);

    const std::string& HelpFilePath() const { return m_helpFilePath; }
    std::string PopupTextPath() const { return m_helpFilePath + kPopupFile; }
    bool HelpModeActive() const { return m_helpModeActive; }
    void SetHelpModeActive(bool active) { m_helpModeActive = active; }

    static std::span<const HelpPair> MainHelpTable();
    static std::span<const HelpPair> UpgradesHelpTable();
    // The topic of a control in a table; 0 when it has none.
    static int TopicOf(std::span<const HelpPair> table, int controlId);
    // Gives the controls of the table the context ids their dialog template gives them (`base`
    // plus the id; the empty list's notice has none), where the platform left them out: Wine
    // does not take them from templates.
    static void ApplyContextIds(HWND dialog, std::span<const HelpPair> table, DWORD base);

    void ShowContents(HWND owner);
    void ShowContext(HWND owner, DWORD context);
    // HTML Help's popup for the topic; where it shows none, one of our own.
    void ShowPopupHelp(HWND control, int x, int y, int topic);
    // The help pointer until the next click, which asks the window under it for help; Esc
    // cancels. Other messages go on being served meanwhile.
    void RunHelpMode(HWND mainWindow);
    // F1 on a control of a dialog whose controls `table` lists; false when not handled.
    bool OnHelpRequest(HWND dialog, const HELPINFO& request, std::span<const HelpPair> table);

    const win32::CHelpPopup& Popup() const { return m_popup; }

private:
    static void HitTest(POINT screenPoint);

    win32::IHtmlHelp& m_htmlHelp;
    std::string m_helpFilePath;
    bool m_helpModeActive = false;
    win32::CHelpPopup m_popup;
};

}  // namespace stratigon::ui
