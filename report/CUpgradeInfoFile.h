// The upgrade information file of a module: collected from the module read last and its
// possible-upgrade list, written whole or not at all, with failures told to the user.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/ISortedList.h"
#include "instrument/IMessageSink.h"
#include "report/IFolderLookup.h"
#include "report/ILocalDate.h"
#include "report/IVersionResources.h"
#include "report/UpgradeInfo.h"

namespace stratigon {

class CModule;

class CUpgradeInfoFile {
public:
    CUpgradeInfoFile(IMessageSink& messages, IVersionResources& versions, ILocalDate& today, IFolderLookup& folders);

    // Writes the report of `module` with every line of `list`, its selection as the chosen
    // upgrade. False when the file could not be written; the user has been told why.
    bool WriteUpgradeInfoFile(const CModule& module, const ISortedList& list, const std::string& path);

    // For automation: lists the module's possible upgrades, selects the first line (from the
    // second, wrapping to the first) that begins with `selection`, letter case ignored, and
    // writes the report to `path`, or to DefaultPath() when it is empty.
    std::uint32_t SaveUpgradeInfo(const CModule& module, const std::string& selection, const std::string& path);

    std::string DefaultPath();

    UpgradeInfo Collect(const CModule& module, const ISortedList& list);
    bool Write(const UpgradeInfo& info, const std::string& path);

private:
    IMessageSink& m_messages;
    IVersionResources& m_versions;
    ILocalDate& m_today;
    IFolderLookup& m_folders;
};

}  // namespace stratigon
