// The dialogs at the display scale of the Wine prefix they run in. CTest runs these tests once
// per scale, each time in a prefix of that scale, which STRATIGON_DPI names.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "support/SimulatedBench.h"
#include "ui/CAboutDlg.h"
#include "ui/CInstallUpgradeDlg.h"
#include "ui/CMainWindow.h"
#include "ui/CPossibleUpgradesDlg.h"
#include "ui/CScanningDlg.h"
#include "ui/PopupTexts.h"
#include "ui/UiTestSupport.h"
#include "win32/CHelpPopup.h"
#include "win32/DpiScale.h"

namespace stratigon::test {
namespace {

const win32::DpiScale kScale(std::getenv("STRATIGON_DPI") != nullptr ? std::atoi(std::getenv("STRATIGON_DPI")) : 96);

// The longest texts: a timing speed that is no whole number of MHz (a 3 ns period), the last
// frame's name and the longest upgrade line.
const std::string kBench = R"({ "modules": [
    { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025, "kind": "analyzer",
      "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", "hres_period_ps": 3000, "async_period_s": 7.499e-9 },
    { "interface": 16, "slot": 12, "logical_address": 200, "model_code": 1025, "kind": "analyzer",
      "idn": "QUORVALIS,KVX9XL64B,B012346,FVER:4.2.1", "depth": 67108864, "state_speed_mhz": 100 } ] })";

RECT RectIn(HWND parent, HWND window)
{
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// Measures with the window's own font: the space `text` takes laid out in `width` with
// `format`, or the font's em in points at the window's scale.
class FontOf {
public:
    explicit FontOf(HWND window)
        : m_window(window), m_dc(window), m_font(m_dc.get(), reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)))
    {
    }
    SIZE Extent(const std::string& text, UINT format, LONG width = 0) const
    {
        RECT area{0, 0, width, 0};
        ::DrawTextA(m_dc.get(), text.c_str(), static_cast<int>(text.size()), &area, format | DT_CALCRECT);
        return SIZE{area.right, area.bottom};
    }
    double Points() const
    {
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(m_dc.get(), &metrics);
        return (metrics.tmHeight - metrics.tmInternalLeading) * 72.0 / win32::DpiScale::OfWindow(m_window).Dpi();
    }

private:
    HWND m_window;
    win32::CWindowDC m_dc;
    win32::CSelectObject m_font;
};

// Each text of a control against its room: a static's text wraps within it; a push button's
// keeps an average character from either edge; each list entry fits the list's box, each column
// of the upgrade lists the room under its heading up to the next.
std::vector<std::pair<std::string, SIZE>> TextsAndRoom(HWND control, LONG character)
{
    const FontOf font(control);
    const std::string kind = ClassOf(control), text = WindowText(control);
    const SIZE room = ClientSize(control);
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    if (kind == "Static") {
        const SIZE needs = font.Extent(text, DT_WORDBREAK | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0), room.cx);
        return {{text, SIZE{room.cx - needs.cx, room.cy - needs.cy}}};
    }
    if (kind == "Button" && (style & BS_TYPEMASK) != BS_OWNERDRAW) {
        const SIZE needs = font.Extent(text, DT_SINGLELINE);
        return {{text, SIZE{room.cx - needs.cx - 2 * character, room.cy - needs.cy}}};
    }
    std::vector<std::pair<std::string, SIZE>> texts;
    if (kind == "ComboBox") {
        COMBOBOXINFO box{sizeof box};
        ::GetComboBoxInfo(control, &box);
        for (const std::string& entry : ComboEntries(::GetParent(control), ::GetDlgCtrlID(control)))
            texts.push_back({entry, SIZE{box.rcItem.right - box.rcItem.left - font.Extent(entry, DT_SINGLELINE).cx, 0}});
    }
    if (kind == "ListBox") {
        const HWND dialog = ::GetParent(control);
        const LONG starts[] = {0, RectIn(control, ::GetDlgItem(dialog, IDC_DEPTH_HEADING)).left,
                               RectIn(control, ::GetDlgItem(dialog, IDC_SPEED_HEADING)).left, room.cx};
        for (const std::string& line : ListEntries(dialog, ::GetDlgCtrlID(control))) {
            std::istringstream columns(line);
            int i = 0;
            for (std::string column; std::getline(columns, column, '\t') && i < 3; ++i)
                texts.push_back({column, SIZE{starts[i + 1] - starts[i] - font.Extent(column, DT_SINGLELINE | DT_NOPREFIX).cx, 0}});
        }
    }
    return texts;
}

// A control may lie wholly inside a group box, or inside a list (a text shown over it).
bool Holds(HWND outer, const RECT& o, const RECT& inner)
{
    const bool container = ClassOf(outer) == "ListBox" ||
                           (ClassOf(outer) == "Button" && (::GetWindowLongA(outer, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX);
    RECT both{};
    ::UnionRect(&both, &o, &inner);
    return container && ::EqualRect(&both, &o);
}

// Every visible control inside the dialog and out of the others' way, in a font of the
// dialog's scale, with its texts whole.
void ExpectLaidOutForItsScale(HWND dialog)
{
    RECT character{0, 0, 4, 0}, client{};
    ::MapDialogRect(dialog, &character);
    ::GetClientRect(dialog, &client);
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child))
            controls.push_back(child);
    for (const HWND control : controls) {
        const std::string name = ClassOf(control) + " " + std::to_string(::GetDlgCtrlID(control));
        const RECT r = RectIn(dialog, control);
        RECT common{};
        EXPECT_TRUE(::IntersectRect(&common, &r, &client) && ::EqualRect(&common, &r)) << name << " leaves the dialog";
        for (const HWND other : controls) {
            const RECT o = RectIn(dialog, other);
            EXPECT_FALSE(other != control && ::IntersectRect(&common, &r, &o) && !Holds(control, r, o) && !Holds(other, o, r))
                << name << " overlaps " << ::GetDlgCtrlID(other);
        }
        EXPECT_NEAR(FontOf(control).Points(), 8.5, 1.0) << name << " has a font of another scale";
        for (const auto& [text, spare] : TextsAndRoom(control, character.right))
            EXPECT_TRUE(spare.cx >= 0 && spare.cy >= 0) << name << ": \"" << text << "\" lacks " << -spare.cx << " x " << -spare.cy << " pixels";
    }
}

class DisplayScaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(win32::DpiScale::OfSystem().Dpi(), kScale.Dpi()) << "the prefix is not at the scale of this run";
        bench = std::make_unique<SimulatedBench>(kBench);
        ASSERT_TRUE(bench->Scanned());
        report = std::make_unique<TestReport>(bench->sink);
    }
    void TearDown() override { PumpMessages(); }

    template <class Dialog, class... Arguments>
    win32::UniqueDialog<Dialog> Open(Arguments&&... arguments)
    {
        auto dialog = win32::MakeDialog<Dialog>(std::forward<Arguments>(arguments)...);
        EXPECT_TRUE(dialog->Create(nullptr));
        ::ShowWindow(dialog->GetHwnd(), SW_SHOWNA);
        return dialog;
    }

    ui::ApplicationState application;
    std::unique_ptr<SimulatedBench> bench;
    std::unique_ptr<TestReport> report;
};

TEST_F(DisplayScaleTest, EveryDialogFitsItsTextsAndControlsAtThisScale)
{
    const auto main = Open<ui::CMainWindow>(bench->Module(), bench->sink, report->writer, application);
    const auto scanning = Open<ui::CScanningDlg>();
    scanning->SetDeviceCount(256);
    const auto about = Open<ui::CAboutDlg>(nullptr);
    ASSERT_EQ(bench->Module().ReadModule(bench->SessionAt(1)), 112);
    const auto upgrades = Open<ui::CPossibleUpgradesDlg>(bench->Module(), bench->sink, report->writer, "Expansion-16", "12");
    const auto install = Open<ui::CInstallUpgradeDlg>(bench->Module(), bench->sink, bench->SessionAt(1), "Expansion-16", "12");
    for (const HWND dialog : {main->GetHwnd(), scanning->GetHwnd(), about->GetHwnd(), upgrades->GetHwnd(), install->GetHwnd()}) {
        SCOPED_TRACE(WindowText(dialog));
        ExpectLaidOutForItsScale(dialog);
    }

    // The help popup: its text, in Arial 8 at this scale, keeps half a line of air around it.
    std::string longest;
    for (const auto& [topic, text] : ui::EmbeddedPopupTexts())
        longest = text.size() > longest.size() ? text : longest;
    win32::CHelpPopup popup;
    ASSERT_TRUE(popup.Show(longest, POINT{300, 200}));
    const FontOf font(popup.GetHwnd());
    const LONG air = font.Extent("M", DT_SINGLELINE).cy / 2;
    const SIZE room = ClientSize(popup.GetHwnd());
    const SIZE needs = font.Extent(longest, DT_WORDBREAK | DT_NOPREFIX, room.cx - 2 * air);
    EXPECT_TRUE(needs.cx + 2 * air <= room.cx && needs.cy + 2 * air <= room.cy);
    EXPECT_NEAR(font.Points(), 8, 0.5);
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP size{};
    ::GetObjectA(bitmap, sizeof size, &size);
    return SIZE{size.bmWidth, size.bmHeight};
}

SIZE IconSize(HWND window, WPARAM which)
{
    ICONINFO info{};
    ::GetIconInfo(reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, which, 0)), &info);
    const win32::UniqueBitmap mask(info.hbmMask), colour(info.hbmColor);
    return BitmapSize(colour.get());
}

// The bitmaps drawn for the scale and the icons in the sizes it asks for; after a move to a
// monitor of another scale, the place the system suggests and the pictures for that scale.
TEST_F(DisplayScaleTest, PicturesAreTheDrawingsForThisScaleAndForTheNextAfterAMove)
{
    const auto main = Open<ui::CMainWindow>(bench->Module(), bench->sink, report->writer, application);
    const auto about = Open<ui::CAboutDlg>(nullptr);
    const auto expectPictures = [&](const win32::DpiScale& scale) {
        const win32::UniqueBitmap logo(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(main->StatusBar().LogoBitmap())));
        const std::pair<SIZE, SIZE> pictures[] = {
            {ClientSize(::GetDlgItem(about->GetHwnd(), IDC_ABOUT_PICTURE)), {112, 166}},
            {ClientSize(::GetDlgItem(about->GetHwnd(), IDC_ABOUT_LOGO)), {94, 25}},
            {BitmapSize(logo.get()), {58, 17}},
            {IconSize(main->GetHwnd(), ICON_BIG), {32, 32}},
            {IconSize(main->GetHwnd(), ICON_SMALL), {16, 16}},
        };
        for (const auto& [shown, at100] : pictures)
            EXPECT_TRUE(shown.cx == scale.Pixels(at100.cx) && shown.cy == scale.Pixels(at100.cy))
                << scale.Dpi() << " DPI: " << shown.cx << " x " << shown.cy << " for " << at100.cx << " x " << at100.cy;
    };
    expectPictures(kScale);
    const win32::DpiScale next(kScale.Dpi() == 192 ? 96 : kScale.Dpi() + 48);
    for (const HWND window : {main->GetHwnd(), about->GetHwnd()}) {
        RECT suggested{};
        ::GetWindowRect(window, &suggested);
        ::OffsetRect(&suggested, 40, 30);
        ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(next.Dpi(), next.Dpi()), reinterpret_cast<LPARAM>(&suggested));
        RECT now{};
        ::GetWindowRect(window, &now);
        EXPECT_EQ(std::make_pair(now.left, now.top), std::make_pair(suggested.left, suggested.top));
    }
    expectPictures(next);
}

}  // namespace
}  // namespace stratigon::test
