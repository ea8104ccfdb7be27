#include "catalogue/InstallJournalBinding.h"

namespace stratigon {

namespace {

// The program has one user-interface thread, the tool one thread: nothing to guard.
IInstallJournal* g_journal = nullptr;
bool g_troubleTold = false;

}  // namespace

InstallJournalBinding::InstallJournalBinding(IInstallJournal& journal) : m_previous(g_journal), m_previousTold(g_troubleTold)
{
    g_journal = &journal;
    g_troubleTold = false;
}

InstallJournalBinding::~InstallJournalBinding()
{
    g_journal = m_previous;
    g_troubleTold = m_previousTold;
}

IInstallJournal* InstallJournalBinding::Current() { return g_journal; }
bool InstallJournalBinding::TroubleTold() { return g_troubleTold; }
void InstallJournalBinding::NoteTroubleTold() { g_troubleTold = true; }

}  // namespace stratigon
