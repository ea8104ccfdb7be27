#include "report/CUpgradeInfoFile.h"

#include <new>

#include "catalogue/AutomationResult.h"
#include "catalogue/CSortedList.h"
#include "catalogue/CatalogueText.h"
#include "catalogue/PossibleUpgrades.h"
#include "module/CModule.h"
#include "report/ApplicationVersion.h"
#include "report/DefaultReportPath.h"
#include "report/ReplacingFileWriter.h"
#include "report/ReportDate.h"
#include "report/UpgradeInfoLayout.h"

namespace stratigon {

namespace {

// The dialog's list box search: from the line after the first to the last, then the first.
int FindLineBeginningWith(const ISortedList& list, const std::string& text)
{
    const int count = list.GetCount();
    for (int step = 1; step <= count; ++step) {
        const int index = step % count;
        if (StartsWithIgnoringCase(list.GetText(index), text))
            return index;
    }
    return ISortedList::kNoSelection;
}

}  // namespace

CUpgradeInfoFile::CUpgradeInfoFile(IMessageSink& messages, IVersionResources& versions, ILocalDate& today,
                                   IFolderLookup& folders)
    : m_messages(messages), m_versions(versions), m_today(today), m_folders(folders)
{
}

UpgradeInfo CUpgradeInfoFile::Collect(const CModule& module, const ISortedList& list)
{
    UpgradeInfo info;
    info.productName = module.GetProductName();
    info.serialNumber = module.GetSerialNumber();
    info.uniqueId = module.GetUniqueId();
    info.memoryDepth = module.GetMemoryDepth();
    info.stateSpeed = module.GetStateSpeed();
    info.timingSpeed = module.GetTimingSpeed();
    info.channels = module.GetChannels();
    info.firmwareVersion = module.GetFirmwareVersion();
    info.patternGenerator = module.IsPatternGenerator();
    info.applicationVersion = ApplicationVersionText(info.patternGenerator, m_versions);
    info.date = ReportDateText(m_today);
    if (list.GetCurSel() != ISortedList::kNoSelection)
        info.selectedLine = list.GetText(list.GetCurSel());
    for (int i = 0; i < list.GetCount(); ++i)
        info.possibleLines.push_back(list.GetText(i));
    return info;
}

bool CUpgradeInfoFile::Write(const UpgradeInfo& info, const std::string& path)
{
    std::string errorText;
    if (ReplacingFileWriter::Write(path, ComposeUpgradeInfo(info), errorText))
        return true;
    const std::string text = "Error when writting to file: " + path;
    m_messages.ShowMessage(text.c_str());
    m_messages.ShowMessage(errorText.c_str());
    return false;
}

bool CUpgradeInfoFile::WriteUpgradeInfoFile(const CModule& module, const ISortedList& list, const std::string& path)
{
    try {
        return Write(Collect(module, list), path);
    } catch (const std::bad_alloc&) {
        m_messages.ShowMessage("Error: Out of memory!");
        return false;
    }
}

std::uint32_t CUpgradeInfoFile::SaveUpgradeInfo(const CModule& module, const std::string& selection, const std::string& path)
{
    CSortedList list;
    if (ListPossibleUpgrades(module, list, m_messages) == 0)
        return AutomationResult::ProductNotDefined;
    if (!selection.empty())
        list.SetCurSel(FindLineBeginningWith(list, selection));
    const bool written = WriteUpgradeInfoFile(module, list, path.empty() ? DefaultPath() : path);
    return written ? AutomationResult::Success : AutomationResult::OperationFailed;
}

std::string CUpgradeInfoFile::DefaultPath() { return DefaultReportPath(m_folders); }

}  // namespace stratigon
