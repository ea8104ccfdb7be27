// What the dialog tests share: the report's outside world fixed, message pumping, user actions
// sent straight to the dialog, and inspecting a modal dialog while the code under test runs it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "report/CUpgradeInfoFile.h"
#include "support/DialogControls.h"
#include "support/Recorders.h"
#include "support/ReportDoubles.h"
#include "win32/GdiGuards.h"

namespace stratigon::test {

// A report writer whose outside world is fixed: no version resources, 8 December 2026, and
// the temp folder as the Documents folder.
struct TestReport {
    ListedVersions versions;
    FixedDate today{2026, 12, 8};
    FixedFolders folders;
    CUpgradeInfoFile writer;
    explicit TestReport(IMessageSink& messages);
};

void PumpMessages();

// Bench-file JSON: one analyzer entry at a frame and slot, and a bench of such entries.
std::string Analyzer(int frame, int slot, const std::string& product = "KVX7L1A", const std::string& serial = "B012345");
std::string Bench(const std::vector<std::string>& modules);

// Selects an entry as the user does: the control changes, then tells its dialog.
void PickComboEntry(HWND dialog, int id, int index);
void PickListEntry(HWND dialog, int id, int index);
void ClickButton(HWND dialog, int id);

// A memory context with a bitmap of its own, painted one colour, to draw on and read back.
struct Canvas {
    win32::UniqueDC dc{::CreateCompatibleDC(nullptr)};
    win32::UniqueBitmap bitmap;
    std::optional<win32::CSelectObject> selection;
    Canvas(int width, int height, COLORREF colour);
    COLORREF At(int x, int y) const { return ::GetPixel(dc.get(), x, y); }
    // How many pixels of the rectangle have this colour.
    int Count(const RECT& area, COLORREF colour) const;
};

// Runs `trigger`, which asks the user a yes-or-no question; answers it with `button` (IDYES or
// IDNO) and gives back the question, or "(no question)" when none was asked.
std::string AnswerQuestion(const std::function<void()>& trigger, int button);

// Asks `dialog` to draw pane `pane` of its status bar on the canvas, in `area`, as the bar does.
void DrawStatusPane(HWND dialog, int pane, const Canvas& canvas, const RECT& area);

// A key the user presses in a dialog: a letter (with Alt) or a key such as VK_RETURN, with the
// focus on control `from`; afterwards control `focus` has the focus, or button `pressed` is
// pressed (0: neither is looked at). Pressed buttons are held back, so nothing opens or closes.
struct KeyPress {
    WPARAM key;
    int from, focus, pressed;
};
// Tab goes round the dialog's controls in `tabOrder`, no mnemonic of the dialog and its menu
// bar is there twice, and every key does what it should.
void ExpectKeyboard(HWND dialog, const std::vector<int>& tabOrder, const std::vector<KeyPress>& keys);

// Runs `trigger`, which runs a modal dialog with `caption`; once that dialog is up,
// `inspect` sees it and must close it. False when no such dialog appeared.
bool WhileModal(const std::string& caption, const std::function<void()>& trigger,
                const std::function<void(HWND)>& inspect);

}  // namespace stratigon::test
