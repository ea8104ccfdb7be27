// Binds the installations of this process to its install journal while the binding lives: the
// program sets one up at start. Without one (tests, tools that keep no record) installations
// are not recorded.
#pragma once

#include "catalogue/IInstallJournal.h"

namespace stratigon {

class InstallJournalBinding {
public:
    explicit InstallJournalBinding(IInstallJournal& journal);
    ~InstallJournalBinding();
    InstallJournalBinding(const InstallJournalBinding&) = delete;
    InstallJournalBinding& operator=(const InstallJournalBinding&) = delete;

    // The journal of the binding that lives now; null when there is none.
    static IInstallJournal* Current();
    // A person is told once per binding that the journal cannot be written, not at every record.
    static bool TroubleTold();
    static void NoteTroubleTold();

private:
    IInstallJournal* m_previous;
    bool m_previousTold;
};

}  // namespace stratigon
