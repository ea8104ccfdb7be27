// Drives a running Stratigon.exe from another process, as a person would: finds its windows,
// picks list entries, presses buttons and answers message boxes. Controls are read back with
// the helpers of support/DialogControls.h.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <string>
#include <vector>

namespace stratigon::test {

class AppDriver {
public:
    static constexpr auto kPatience = std::chrono::seconds(60);

    AppDriver() = default;
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    // The path of a program in the folder of this one.
    static std::string ProgramBesideThisOne(const std::string& name);
    using Environment = std::vector<std::pair<std::string, std::string>>;
    // Starts a program with the given arguments (already quoted where needed) and environment
    // additions.
    bool Start(const std::string& program, const Environment& environment, const std::string& arguments = {});
    // Takes over the process that shows this top-level window, as if this driver had started it.
    bool Attach(HWND window);
    // Runs a program to its end with its standard output going to `outputFile`; its exit code,
    // or -1 when it could not be started or did not end in time.
    static int RunToEnd(const std::string& commandLine, const std::string& outputFile);
    // Waits until the process ends; its exit code, or -1 when it did not end in time.
    int WaitForExit();
    bool IsRunning() const;

    // A top-level dialog of the program with this caption; null when none appears in time.
    HWND WaitForWindow(const std::string& caption) const;
    // A visible top-level dialog of the program with this caption, or with `byClass` a visible
    // top-level window of this window class.
    HWND FindWindowOfProcess(const std::string& caption, bool byClass = false) const;
    // A visible top-level dialog with this caption of any process; null when there is none.
    static HWND FindDialogOfAnyProcess(const std::string& caption);
    // Waits until no top-level window of the program has this caption.
    bool WaitUntilGone(const std::string& caption) const;
    // Waits until `condition` holds, at most `patience`.
    static bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience = kPatience);

    // Records the caption of every visible top-level window the program shows from now on,
    // however briefly, until it ends.
    void WatchWindows();
    std::set<std::string> CaptionsSeen() const;

    // A message box's text; the box is answered with `button` (OK unless said otherwise).
    std::string AnswerMessageBox(int button = IDOK) const;

    // Selections and clicks are posted, so a modal window they open does not block the test.
    static void PickComboEntry(HWND dialog, int id, int index);
    static void PickListEntry(HWND dialog, int id, int index);
    static void Click(HWND dialog, int id);
    static void Command(HWND dialog, int id);
    // Types a file name into a file dialog's name field.
    static void TypeFileName(HWND fileDialog, const std::string& path);

private:
    PROCESS_INFORMATION m_process{};
    std::atomic<bool> m_watching{false};
    std::thread m_watcher;
    mutable std::mutex m_seenLock;
    std::set<std::string> m_seen;
};

}  // namespace stratigon::test
