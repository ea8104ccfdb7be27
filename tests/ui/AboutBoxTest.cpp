#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "res/resource.h"
#include "ui/CAboutDlg.h"
#include "ui/UiTestSupport.h"
#include "win32/BitmapDrawing.h"
#include "win32/CWin32VersionResources.h"
#include "win32/DpiScale.h"
#include "win32/GdiGuards.h"

namespace stratigon::test {
namespace {

using ui::CAboutDlg;

// The 24-bit bitmap of this test program's own resources.
constexpr int kTrueColourBitmap = 900;

RECT ClientRectOf(HWND dialog, int id)
{
    RECT bounds{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &bounds);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

using Pair = std::pair<LONG, LONG>;

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

TEST(AboutBox, ShowsTheVersionTextsOfTheProgramOrWhatItsResourceSays)
{
    win32::CWin32VersionResources system;
    ListedVersions withoutProductVersion;
    withoutProductVersion.files["plain.exe"] = std::nullopt;
    ListedVersions unreadable;
    unreadable.files["broken.exe"] = "9.9";
    unreadable.unreadable.insert("broken.exe");
    ListedVersions blankValues;
    blankValues.files["blank.exe"] = std::string();
    const struct {
        const char* what;
        IVersionResources* versions;
        std::string file;
        std::vector<std::string> texts;  // title, version, copyright, trademarks
    } cases[] = {
        {"this program's own resource", &system, "",
         {"KVX Stratigon Utility", "Version 4.3.225.0", "Copyright (C) 2026 Quorvalis",
          "Quorvalis and Stratigon are trademarks\r\nof Quorvalis Instruments."}},
        {"no ProductVersion", &withoutProductVersion, "plain.exe",
         {"KVX Stratigon Utility", "Version Unknown", "Copyright (C) 2026 Quorvalis",
          "Quorvalis and Stratigon are trademarks of Quorvalis Instruments."}},
        {"values present but empty", &blankValues, "blank.exe",
         {"KVX Stratigon Utility", "Version Unknown", "Copyright (C) 2026 Quorvalis",
          "Quorvalis and Stratigon are trademarks of Quorvalis Instruments."}},
        {"no version information", &system, "C:\\windows\\nothing-here.exe",
         {"KVX Stratigon Utility", "0.0 (Build 0)", "Copyright (C) 2026 Quorvalis",
          "Quorvalis and Stratigon are trademarks of Quorvalis Instruments."}},
        {"a read that fails after the size query", &unreadable, "broken.exe",
         {"KVX Stratigon Utility", "0.0 (Build 0)", "Copyright (C) 2026 Quorvalis",
          "Quorvalis and Stratigon are trademarks of Quorvalis Instruments."}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const auto about = win32::MakeDialog<CAboutDlg>(test.versions, test.file);
        ASSERT_TRUE(about->Create(nullptr));
        const HWND box = about->GetHwnd();
        EXPECT_EQ((std::vector<std::string>{ControlText(box, IDC_ABOUT_TITLE), ControlText(box, IDC_ABOUT_VERSION),
                                            ControlText(box, IDC_ABOUT_COPYRIGHT), ControlText(box, IDC_ABOUT_TRADEMARKS)}),
                  test.texts);
        EXPECT_FALSE(IsEnabledControl(box, IDC_ABOUT_PICTURE)) << "the picture takes no input";
        EXPECT_EQ(ControlText(box, IDC_ABOUT_PICTURE) + ", " + ControlText(box, IDC_ABOUT_LOGO),
                  "Picture of a KVX module, Quorvalis logo") << "what screen readers name the pictures";
    }
}

TEST(AboutBox, OkIsTheOnlyStopOfTabAndEnterAndEscapePressIt)
{
    const auto about = win32::MakeDialog<CAboutDlg>(nullptr);
    ASSERT_TRUE(about->Create(nullptr));
    ExpectKeyboard(about->GetHwnd(), {IDOK}, {{VK_RETURN, IDOK, 0, IDOK}, {VK_ESCAPE, IDOK, 0, IDCANCEL}});
}

TEST(AboutBox, LaysTheTextsOutBesideThePictureWithOkAndTheLogoInTheCorners)
{
    const auto about = win32::MakeDialog<CAboutDlg>(nullptr);
    ASSERT_TRUE(about->Create(nullptr));
    const HWND box = about->GetHwnd();
    const RECT p = ClientRectOf(box, IDC_ABOUT_PICTURE), k = ClientRectOf(box, IDOK), t = ClientRectOf(box, IDC_ABOUT_TITLE),
               v = ClientRectOf(box, IDC_ABOUT_VERSION), n = ClientRectOf(box, IDC_ABOUT_COPYRIGHT),
               m = ClientRectOf(box, IDC_ABOUT_TRADEMARKS), l = ClientRectOf(box, IDC_ABOUT_LOGO);
    RECT client{};
    ::GetClientRect(box, &client);
    // Pixels at 100 %, as many more as the display's scale asks for.
    const auto px = [scale = win32::DpiScale::OfWindow(box)](LONG pixels) { return static_cast<LONG>(scale.Pixels(pixels)); };
    EXPECT_EQ(Pair(Width(p), Height(p)), Pair(px(112), px(166))) << "the picture is as large as its bitmap";
    EXPECT_EQ(Pair(Width(l), Height(l)), Pair(px(94), px(25))) << "so is the logo";
    EXPECT_EQ(client.right, std::max({Width(p) + Width(t) + Width(k) + px(80), Width(p) + Width(v) + px(60),
                                      Width(p) + Width(n) + px(60), Width(p) + Width(m) + px(60), Width(p) + Width(l) + px(40)}));
    EXPECT_EQ(client.bottom, std::max(Height(m) + Height(n) + Height(t) + Height(v) + Height(l) + px(100), Height(p) + px(40)));
    EXPECT_EQ(Pair(p.left, p.top), Pair(px(20), px(20)));
    EXPECT_EQ(Pair(k.right, k.top), Pair(client.right - px(20), px(20)));
    EXPECT_EQ(Pair(l.right, l.bottom), Pair(client.right - px(20), client.bottom - px(20)));
    for (const RECT* label : {&t, &v, &n, &m})
        EXPECT_EQ(label->left, p.right + px(20)) << "the texts form a column right of the picture";
    EXPECT_EQ(std::vector<LONG>({t.top, v.top - t.bottom, n.top - v.bottom, m.top - n.bottom}),
              std::vector<LONG>({px(20), px(10), px(10), px(20)}));
    RECT window{}, work{};
    ::GetWindowRect(box, &window);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left + window.right, work.left + work.right, 1) << "centred on the screen";
}

TEST(TransparentBitmap, ShowsTheBackgroundWhereTheBitmapIsLightGrey)
{
    const COLORREF green = RGB(0, 128, 0);
    Canvas canvas(120, 40, green);
    RECT place{10, 5, 0, 0};
    ASSERT_TRUE(win32::DrawTransparentBitmap(canvas.dc.get(), IDB_LOGO, place));
    EXPECT_EQ(place.right, 10 + 94);
    EXPECT_EQ(place.bottom, 5 + 25);
    EXPECT_EQ(canvas.At(10, 5), green) << "the logo's light grey corner";
    EXPECT_EQ(canvas.At(60, 5 + 21), RGB(255, 0, 0)) << "the logo's red line";
    EXPECT_EQ(canvas.At(5, 2), green) << "outside the logo";
    EXPECT_GT(canvas.Count(place, RGB(0, 0, 128)), 50) << "the maker's name";
    EXPECT_EQ(canvas.Count(place, win32::kTransparentColour), 0) << "no light grey shows";
    RECT nowhere{};
    EXPECT_FALSE(win32::DrawTransparentBitmap(canvas.dc.get(), 4242, nowhere));
}

// What the resource says a pixel is: the colour-table entry its index names, or its own colour.
COLORREF ResourcePixel(int id, int x, int y)
{
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const auto* info = static_cast<const BITMAPINFO*>(
        ::LockResource(::LoadResource(instance, ::FindResourceA(instance, MAKEINTRESOURCEA(id), RT_BITMAP))));
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const int colours = header.biBitCount > 8 ? 0 : (header.biClrUsed != 0 ? static_cast<int>(header.biClrUsed) : 1 << header.biBitCount);
    const auto* pixels = reinterpret_cast<const BYTE*>(info) + header.biSize + colours * sizeof(RGBQUAD);
    const int stride = ((header.biWidth * header.biBitCount + 31) / 32) * 4;
    const BYTE* row = pixels + static_cast<ptrdiff_t>(header.biHeight - 1 - y) * stride;
    if (header.biBitCount == 8) {
        const RGBQUAD& entry = info->bmiColors[row[x]];
        return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    }
    return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

TEST(LoadDibWithPalette, UsesThePalettesOfPaletteBitmapsAndNoneForTrueColour)
{
    const struct {
        int id;
        bool palette;
        std::vector<POINT> pixels;
    } cases[] = {
        {IDB_PRODUCT_PICTURE, true, {{0, 0}, {30, 70}, {44, 70}, {56, 140}, {111, 165}}},
        {kTrueColourBitmap, false, {{0, 0}, {1, 0}, {0, 1}, {2, 1}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.id);
        win32::UniquePalette palette;
        const win32::UniqueBitmap bitmap = win32::LoadDibWithPalette(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(test.id), palette);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(static_cast<bool>(palette), test.palette);
        const win32::UniqueDC dc(::CreateCompatibleDC(nullptr));
        const win32::CSelectObject selection(dc.get(), bitmap.get());
        for (const POINT& pixel : test.pixels)
            EXPECT_EQ(::GetPixel(dc.get(), pixel.x, pixel.y), ResourcePixel(test.id, pixel.x, pixel.y))
                << pixel.x << "," << pixel.y;
    }
    win32::UniquePalette none;
    EXPECT_FALSE(win32::LoadDibWithPalette(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(4242), none));
}

}  // namespace
}  // namespace stratigon::test
