#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "ui/CMainStatusBar.h"
#include "win32/CDialog.h"

namespace stratigon::test {

namespace {

// After every dialog test of the program: no dialog object went before its window.
class DialogLifetimeCheck final : public ::testing::Environment {
public:
    void TearDown() override
    {
        EXPECT_EQ(win32::CDialog::WindowsThatOutlivedTheirDialog(), 0)
            << "a modeless dialog's object went before its window: own it through win32::UniqueDialog";
    }
};
const auto* const g_dialogLifetimeCheck = ::testing::AddGlobalTestEnvironment(new DialogLifetimeCheck);

}  // namespace

TestReport::TestReport(IMessageSink& messages) : writer(messages, versions, today, folders)
{
    folders.documents = std::filesystem::temp_directory_path().string();
}

Canvas::Canvas(int width, int height, COLORREF colour)
{
    const win32::CWindowDC screen(nullptr);
    bitmap.reset(::CreateCompatibleBitmap(screen.get(), width, height));
    selection.emplace(dc.get(), bitmap.get());
    const RECT all{0, 0, width, height};
    const win32::UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc.get(), &all, brush.get());
}

int Canvas::Count(const RECT& area, COLORREF colour) const
{
    int count = 0;
    for (int x = area.left; x < area.right; ++x)
        for (int y = area.top; y < area.bottom; ++y)
            count += At(x, y) == colour;
    return count;
}

void DrawStatusPane(HWND dialog, int pane, const Canvas& canvas, const RECT& area)
{
    DRAWITEMSTRUCT item{};
    item.CtlID = ui::CMainStatusBar::kId;
    item.itemID = static_cast<UINT>(pane);
    item.hDC = canvas.dc.get();
    item.rcItem = area;
    ::SendMessageA(dialog, WM_DRAWITEM, ui::CMainStatusBar::kId, reinterpret_cast<LPARAM>(&item));
}

void PumpMessages()
{
    MSG message{};
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

std::string Analyzer(int frame, int slot, const std::string& product, const std::string& serial)
{
    return R"({ "interface": )" + std::to_string(frame) + R"(, "slot": )" + std::to_string(slot) +
           R"(, "logical_address": )" + std::to_string(frame * 32 + slot) +
           R"(, "model_code": 1025, "kind": "analyzer", "idn": "QUORVALIS,)" + product + "," + serial +
           R"(,FVER:4.2.1" })";
}

std::string Bench(const std::vector<std::string>& modules)
{
    std::string text = R"({ "modules": [)";
    for (size_t i = 0; i < modules.size(); ++i)
        text += (i ? "," : "") + modules[i];
    return text + "] }";
}

namespace {

struct ModalWatch {
    std::string caption;
    std::function<void(HWND)> inspect;
    bool seen = false;
};
ModalWatch* g_watch = nullptr;

void CALLBACK LookForModal(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (g_watch == nullptr || g_watch->seen)
        return;
    // Only this test's own dialogs: other tests may run the program beside it.
    HWND dialog = nullptr;
    while ((dialog = ::FindWindowExA(nullptr, dialog, "#32770", g_watch->caption.c_str())) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(dialog, &owner);
        if (owner == ::GetCurrentProcessId() && ::IsWindowVisible(dialog))
            break;
    }
    if (dialog == nullptr)
        return;
    ::KillTimer(nullptr, timer);
    g_watch->seen = true;
    g_watch->inspect(dialog);
}

}  // namespace

void PickComboEntry(HWND dialog, int id, int index)
{
    const HWND combo = ::GetDlgItem(dialog, id);
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void PickListEntry(HWND dialog, int id, int index)
{
    const HWND list = ::GetDlgItem(dialog, id);
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void ClickButton(HWND dialog, int id)
{
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

bool WhileModal(const std::string& caption, const std::function<void()>& trigger,
                const std::function<void(HWND)>& inspect)
{
    ModalWatch watch{caption, inspect};
    g_watch = &watch;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &LookForModal);
    trigger();
    if (!watch.seen)
        ::KillTimer(nullptr, timer);
    g_watch = nullptr;
    return watch.seen;
}

namespace {

LRESULT CALLBACK HoldBackButtons(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR pressed)
{
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return ::DefSubclassProc(window, message, wParam, lParam);
    reinterpret_cast<std::vector<int>*>(pressed)->push_back(LOWORD(wParam));
    return 0;
}

// A key as the message loop gives it to the dialog manager; a letter goes with Alt.
void Press(HWND dialog, WPARAM key)
{
    const bool letter = key >= 'A' && key <= 'Z';
    MSG message{::GetFocus(), letter ? static_cast<UINT>(WM_SYSCHAR) : static_cast<UINT>(WM_KEYDOWN),
                letter ? key - 'A' + 'a' : key, letter ? LPARAM{1 << 29} : LPARAM{0}};
    ::IsDialogMessageA(dialog, &message);
}

// The letters after '&' in the texts of the dialog's visible controls and its menu bar.
std::string Mnemonics(HWND dialog)
{
    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child))
            texts.push_back(WindowText(child));
    for (int item = 0; item < ::GetMenuItemCount(::GetMenu(dialog)); ++item) {
        char text[64] = {};
        ::GetMenuStringA(::GetMenu(dialog), static_cast<UINT>(item), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    std::string letters;
    for (const std::string& text : texts)
        if (const auto at = text.find('&'); at != std::string::npos && at + 1 < text.size() && text[at + 1] != '&')
            letters += static_cast<char>(std::tolower(static_cast<unsigned char>(text[at + 1])));
    std::sort(letters.begin(), letters.end());
    return letters;
}

}  // namespace

void ExpectKeyboard(HWND dialog, const std::vector<int>& tabOrder, const std::vector<KeyPress>& keys)
{
    ::ShowWindow(dialog, SW_SHOW);
    ::SetForegroundWindow(dialog);
    ::SetFocus(::GetDlgItem(dialog, tabOrder.front()));
    std::vector<int> walked{::GetDlgCtrlID(::GetFocus())};
    for (size_t step = 0; step < tabOrder.size(); ++step, walked.push_back(::GetDlgCtrlID(::GetFocus())))
        Press(dialog, VK_TAB);
    std::vector<int> round = tabOrder;
    round.push_back(tabOrder.front());
    EXPECT_EQ(walked, round) << "Tab, all the way round";
    const std::string letters = Mnemonics(dialog);
    EXPECT_TRUE(std::adjacent_find(letters.begin(), letters.end()) == letters.end()) << "a mnemonic twice among " << letters;

    std::vector<int> pressed;
    ::SetWindowSubclass(dialog, &HoldBackButtons, 1, reinterpret_cast<DWORD_PTR>(&pressed));
    for (const KeyPress& key : keys) {
        SCOPED_TRACE(key.key >= 'A' ? std::string("Alt+") + static_cast<char>(key.key) : "key " + std::to_string(key.key));
        ::SetFocus(::GetDlgItem(dialog, key.from));
        pressed.clear();
        Press(dialog, key.key);
        if (key.focus != 0)
            EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), key.focus);
        if (key.pressed != 0)
            EXPECT_EQ(pressed, std::vector<int>{key.pressed});
    }
    ::RemoveWindowSubclass(dialog, &HoldBackButtons, 1);
}

std::string AnswerQuestion(const std::function<void()>& trigger, int button)
{
    std::string question = "(no question)";
    WhileModal("Stratigon", trigger, [&](HWND box) {
        question = ControlText(box, 0xFFFF);
        ::SendMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    return question;
}

}  // namespace stratigon::test
