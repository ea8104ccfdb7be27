#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "win32/CDialogImpl.h"

namespace stratigon::test {
namespace {

constexpr UINT kProbeTemplate = 1;

// A dialog whose own parts note what they see while its window goes.
class CProbeDialog final : public win32::CDialogImpl<CProbeDialog> {
public:
    explicit CProbeDialog(std::vector<std::string>& log) : CDialogImpl(kProbeTemplate), m_log(log) {}

    static std::span<const MessageEntry> MessageTable()
    {
        static const MessageEntry table[] = {{WM_DESTROY, &CProbeDialog::HandleDestroy}};
        return table;
    }

private:
    bool HandleDestroy(WPARAM, LPARAM, LRESULT&)
    {
        m_log.push_back(m_name + " saw its window go");
        return false;
    }

    std::string m_name = "the probe";  // gone before the base class's destructor runs
    std::vector<std::string>& m_log;
};

TEST(DialogLifetime, AModelessDialogsWindowGoesWhileTheWholeDialogStillServesIt)
{
    std::vector<std::string> log;
    const int slipsBefore = win32::CDialog::WindowsThatOutlivedTheirDialog();
    HWND window = nullptr;
    {
        const auto dialog = win32::MakeDialog<CProbeDialog>(log);
        ASSERT_TRUE(dialog->Create(nullptr));
        window = dialog->GetHwnd();
    }
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(log, std::vector<std::string>{"the probe saw its window go"});
    EXPECT_EQ(win32::CDialog::WindowsThatOutlivedTheirDialog(), slipsBefore);
}

// The slip the owner above prevents: the object goes first. Its window must not reach what is
// left of it, and the slip is counted so that tests see it.
TEST(DialogLifetime, ADialogObjectThatGoesBeforeItsWindowCutsTheWindowLooseAndIsCounted)
{
    std::vector<std::string> log;
    const int slipsBefore = win32::CDialog::WindowsThatOutlivedTheirDialog();
    auto dialog = std::make_unique<CProbeDialog>(log);
    ASSERT_TRUE(dialog->Create(nullptr));
    const HWND window = dialog->GetHwnd();
    dialog.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(log.empty()) << "no message reached the dialog's remains";
    EXPECT_EQ(win32::CDialog::WindowsThatOutlivedTheirDialog(), slipsBefore + 1);
}

}  // namespace
}  // namespace stratigon::test
