#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

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

// What Windows reads before the program runs: scaling per monitor (v2 where Windows has it,
// system-wide on older ones), and an image in the icon for each size the scales ask for.
TEST(Resources, TheManifestAsksForScalingPerMonitorAndTheIconHasAnImageForEverySize)
{
    const struct {
        const wchar_t *space, *name, *value;
    } settings[] = {
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
    };
    for (const auto& setting : settings) {
        wchar_t value[64] = {};
        SIZE_T length = 0;
        ::QueryActCtxSettingsW(0, nullptr, setting.space, setting.name, value, std::size(value), &length);
        EXPECT_EQ(std::wstring(value), setting.value);
    }
    const HINSTANCE program = ::GetModuleHandleA(nullptr);
    const auto* group = static_cast<const BYTE*>(
        ::LockResource(::LoadResource(program, ::FindResourceA(program, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON))));
    ASSERT_NE(group, nullptr);
    std::vector<int> sizes;
    // After the 6-byte header, 14 bytes an image, its width first (0 for 256).
    for (int image = 0; image < reinterpret_cast<const WORD*>(group)[2]; ++image)
        sizes.push_back(group[6 + 14 * image] == 0 ? 256 : group[6 + 14 * image]);
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
}

}  // namespace
}  // namespace stratigon::test
