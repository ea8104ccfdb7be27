#include <gtest/gtest.h>

#include "module/ModuleCodes.h"
#include "res/resource.h"
#include "win32/CDialog.h"

namespace stratigon::test {
namespace {

// The core names its results by string-table id; the program's string table must say what
// the core says, word for word.
TEST(ResourceTexts, TheStringTableHoldsTheModuleCodeTexts)
{
    for (int code : {ModuleCode::UpdateComplete, ModuleCode::UpdateFailed, ModuleCode::CannotUpgrade,
                     ModuleCode::NoModule, ModuleCode::QueryFailed, ModuleCode::InvalidSerialNumber,
                     ModuleCode::InvalidPatternGeneratorOption, ModuleCode::InvalidFirmwareVersion})
        EXPECT_EQ(win32::LoadResourceString(static_cast<UINT>(code)), ModuleCodeText(code)) << "string " << code;
}

TEST(ResourceTexts, TheStatusAndStartUpTextsAreThere)
{
    struct Case {
        UINT id;
        const char* text;
    };
    const Case cases[] = {
        {IDS_READY, "For Help, press F1"},
        {IDS_ABOUTBOX, "About Stratigon..."},
        {IDS_SOCKETS_INIT_FAILED, "Windows sockets initialization failed."},
        {IDS_OLE_INIT_FAILED, "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
        {IDS_NO_INSTRUMENTS, "No Instruments."},
        {IDS_NO_MODULES, "No Modules."},
        {IDS_IDLE_PROMPT, "  "},
        {IDS_CLIENT_INDICATOR, " Client "},
        {ID_FILE_VIEW_UPGRADES, "Shows all possible upgrades for this module"},
        {ID_HELP_WHATS_THIS, "Displays help for a selected control or object"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(win32::LoadResourceString(c.id), c.text) << "string " << c.id;
}

}  // namespace
}  // namespace stratigon::test
