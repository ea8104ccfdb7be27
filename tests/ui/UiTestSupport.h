// What the dialog tests share: the report's outside world fixed, message pumping, reading
// controls back, and inspecting a modal dialog while the code under test runs it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "report/CUpgradeInfoFile.h"
#include "support/Recorders.h"

namespace stratigon::test {

class NoVersions final : public IVersionResources {
public:
    std::uint32_t VersionInfoSize(const std::string&) override { return 0; }
    std::optional<std::string> QueryValue(const std::string&, const std::string&) override { return std::nullopt; }
};

class FixedDate final : public ILocalDate {
public:
    bool Today(std::tm& date) override
    {
        date = std::tm{};
        date.tm_year = 126;
        date.tm_mon = 11;
        date.tm_mday = 8;
        return true;
    }
};

class TempFolders final : public IFolderLookup {
public:
    bool FolderExists(const std::string&) override { return false; }
    std::string DocumentsFolder() override;
};

// A report writer whose outside world is fixed.
struct TestReport {
    NoVersions versions;
    FixedDate today;
    TempFolders folders;
    CUpgradeInfoFile writer;
    explicit TestReport(IMessageSink& messages) : writer(messages, versions, today, folders) {}
};

void PumpMessages();

std::string ControlText(HWND dialog, int id);
bool IsShown(HWND dialog, int id);
bool IsEnabledControl(HWND dialog, int id);
std::vector<std::string> ComboEntries(HWND dialog, int id);
std::vector<std::string> ListEntries(HWND dialog, int id);
// Selects an entry as the user does: the control changes, then tells its dialog.
void PickComboEntry(HWND dialog, int id, int index);
void PickListEntry(HWND dialog, int id, int index);
void ClickButton(HWND dialog, int id);

// Runs `trigger`, which runs a modal dialog with `caption`; once that dialog is up,
// `inspect` sees it and must close it. False when no such dialog appeared.
bool WhileModal(const std::string& caption, const std::function<void()>& trigger,
                const std::function<void(HWND)>& inspect);

}  // namespace stratigon::test
