// The main dialog on the simulated bench with the application state, message sink and class
// object that Stratigon.exe gives it, as while the main dialog runs: what the in-process
// automation tests call.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Stratigon.h"
#include "app/CpiApplicationFactory.h"
#include "res/resource.h"
#include "simulator/SimulatorControl.h"
#include "support/AutomationCalls.h"
#include "support/SimulatedBench.h"
#include "support/TempFolder.h"
#include "ui/CAutomationAlerts.h"
#include "ui/CMainWindow.h"
#include "ui/UiTestSupport.h"
#include "win32/ComPtr.h"

namespace stratigon::test {

class AutomationTest : public ::testing::Test {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }

    void TearDown() override
    {
        running.reset();
        window.reset();
        PumpMessages();
        ::OleUninitialize();
    }

    void Open(const std::string& benchText)
    {
        // The bench before goes first: its end resets the simulator.
        running.reset();
        window.reset();
        report.reset();
        bench.reset();
        bench = std::make_unique<SimulatedBench>(benchText, std::string(), &alerts);
        report = std::make_unique<TestReport>(alerts);
        report->folders.documents = folder.Path().string();
        window = win32::MakeDialog<ui::CMainWindow>(bench->Module(), alerts, report->writer, application);
        ASSERT_TRUE(window->Create(nullptr));
        dialog = window->GetHwnd();
        running.emplace(application, *window);
        sim::ClearTrace();
    }

    template <class Interface = IStratigonApplication>
    win32::ComPtr<Interface> Connect(REFIID iid = IID_IStratigonApplication)
    {
        win32::ComPtr<Interface> client;
        EXPECT_EQ(factory.CreateInstance(nullptr, iid, client.put_void()), S_OK);
        return client;
    }

    std::string UniqueIdAt(int row)
    {
        bench->Module().ReadModule(bench->SessionAt(row));
        const std::string id = bench->Module().GetUniqueId();
        bench->Module().ReadModule(window->SelectedModule());
        return id;
    }

    // Every operation ends with the module object describing the dialog's selection.
    void ExpectModuleObjectOnSelection()
    {
        EXPECT_EQ(bench->Module().GetSerialNumber(), ControlText(dialog, IDC_SERIAL_NUMBER));
    }

    // The commands (not the queries) written to any module since the bench was opened.
    static std::vector<std::string> CommandsSent()
    {
        std::vector<std::string> commands;
        for (const std::string& line : sim::TraceLines()) {
            const std::size_t message = line.find(' ', 2) + 1;
            const std::string header = line.substr(message, line.find(' ', message) - message);
            if (line.rfind("W ", 0) == 0 && header.back() != '?')
                commands.push_back(header);
        }
        return commands;
    }

    // The client pane as the status bar draws it when the dialog asks.
    int ClientPaneBluePixels() const
    {
        const Canvas canvas(60, 20, RGB(255, 255, 255));
        const RECT pane{0, 0, 60, 20};
        DrawStatusPane(dialog, ui::CMainStatusBar::kClientPane, canvas, pane);
        return canvas.Count(pane, RGB(0, 0, 255));
    }

    TempFolder folder;
    // What the program would show in message boxes, unless a client turns them off.
    RecordingSink boxes;
    ui::CAutomationAlerts alerts{boxes};
    ui::ApplicationState application{.alerts = &alerts};
    app::CpiApplicationFactory factory{application};
    std::unique_ptr<SimulatedBench> bench;
    std::unique_ptr<TestReport> report;
    win32::UniqueDialog<ui::CMainWindow> window;
    std::optional<ui::CMainWindowBinding> running;
    HWND dialog = nullptr;
};

}  // namespace stratigon::test
