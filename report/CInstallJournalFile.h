// The install journal as a file a lab manager opens in a spreadsheet: CSV with a header line,
// one whole line per record, appended under a lock between processes and on disk before the
// module is touched.
#pragma once

#include <string>

#include "catalogue/IInstallJournal.h"

namespace stratigon {

class CInstallJournalFile final : public IInstallJournal {
public:
    explicit CInstallJournalFile(std::string path);

    // STRATIGON_JOURNAL when set; else the machine-wide application data folder on Windows,
    // the user's state folder elsewhere.
    static std::string DefaultPath();

    bool Append(const InstallRecord& record, std::string& problem) override;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace stratigon
