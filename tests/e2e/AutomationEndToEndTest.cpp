#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>
#include <thread>

#include "Stratigon.h"
#include "e2e/AppDriver.h"
#include "res/resource.h"
#include "support/AutomationCalls.h"
#include "support/DialogControls.h"
#include "support/TempFolder.h"
#include "win32/ComPtr.h"

namespace stratigon::test {
namespace {

using win32::ComPtr;

const std::string kProgram = AppDriver::ProgramBesideThisOne("Stratigon.exe");
constexpr char kMainCaption[] = "KVX Stratigon Utility";
constexpr char kScanningCaption[] = "Stratigon - Scanning";
constexpr char kRefusal[] = "Cannot close the application.\nThere is a client connecting to it.";
const std::string kOneModule = R"({ "modules": [ { "interface": 1, "slot": 6, "logical_address": 44,
    "model_code": 1025, "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1" } ] })";
constexpr char kUniqueId[] = "13:18:C1:00:30:39";

std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

// Stratigon.exe registered in the test prefix, on a bench file of its own, driven by automation
// clients in other processes: this one, the samples and scripts run by cscript.
class AutomationEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { ::CoUninitialize(); }

    AppDriver::Environment BenchEnvironment(const std::string& benchText)
    {
        folder.Write("bench.json", benchText);
        return {{"STRATIGON_SIM_BENCH", folder.File("bench.json")}, {"STRATIGON_SIM_STATE", folder.File("state.json")}};
    }

    HWND Start(const std::string& benchText)
    {
        EXPECT_TRUE(app.Start(kProgram, BenchEnvironment(benchText)));
        const HWND main = app.WaitForWindow(kMainCaption);
        EXPECT_NE(main, nullptr) << "the main dialog did not appear";
        return main;
    }

    int Run(const std::string& commandLine)
    {
        const int code = AppDriver::RunToEnd(commandLine, folder.File("output.txt"));
        output = folder.Read("output.txt");
        return code;
    }

    static std::string Script(const std::string& name) { return "cscript.exe //nologo " + Quoted(name) + " "; }

    template <class Interface>
    static HRESULT Create(win32::ComPtr<Interface>& client, REFIID iid)
    {
        return ::CoCreateInstance(CLSID_StratigonApplication, nullptr, CLSCTX_LOCAL_SERVER, iid, client.put_void());
    }

    TempFolder folder;
    AppDriver app;
    std::string output;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(AutomationEndToEndTest, TheScriptSampleUpgradesTheModuleWithTheSerialNumber)
{
    const HWND main = Start(kOneModule);
    ASSERT_NE(main, nullptr);
    const std::string sample = Script(AppDriver::ProgramBesideThisOne("UpgradeBySerial.vbs"));
    EXPECT_EQ(Run(sample + "b012345 KVX7L1AUP-Opt-05 " + Quoted(folder.File("order.txt"))), 0) << output;
    EXPECT_TRUE(Contains(output, std::string("Module b012345 has the unique ID ") + kUniqueId)) << output;
    EXPECT_TRUE(Contains(output, "Wrote the upgrade information file")) << output;
    EXPECT_EQ(ControlText(main, IDC_MEMORY_DEPTH), "256K") << "the main dialog shows the installed upgrade";
    EXPECT_TRUE(Contains(folder.Read("order.txt"), "\tMemory Depth:\t\t\t256K\r\n"));
    EXPECT_TRUE(Contains(folder.Read("state.json"), "262144"));

    EXPECT_EQ(Run(sample + "X999999 05"), 1);
    EXPECT_EQ(output.substr(0, output.find_first_of("\r\n")),
              "GetUniqueID failed: No module has the specified Serial Number. (Stratigon)");

    AppDriver::Command(main, ID_FILE_EXIT);
    EXPECT_EQ(app.WaitForExit(), 0);
}

TEST_F(AutomationEndToEndTest, CompiledClientsGetTheResultsAndErrorsAcrossProcesses)
{
    const HWND main = Start(kOneModule);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Run(Quoted(AppDriver::ProgramBesideThisOne("UpgradeBySerial.exe")) + " B012345 04 " +
                  Quoted(folder.File("order.txt"))),
              0)
        << output;
    EXPECT_TRUE(Contains(output, "Installed 04")) << output;
    EXPECT_EQ(ControlText(main, IDC_STATE_SPEED), "200 MHz");

    win32::ComPtr<IStratigonApplication> client;
    ASSERT_EQ(Create(client, IID_IStratigonApplication), S_OK);
    EXPECT_EQ(client->SelectModule(Bstr("12:34").value), Failure(1010));
    EXPECT_EQ(client->ShowWindow(0), S_OK);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_EQ(client->ShowWindow(1), S_OK);
    EXPECT_TRUE(::IsWindowVisible(main));

    const auto dispatch = client.As<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(dispatch);
    const LateCall late = Invoke(dispatch.get(), 4, {Text("05"), Text("12:34")});
    EXPECT_EQ(late.result, DISP_E_EXCEPTION);
    EXPECT_EQ(late.code, 1010);
    EXPECT_EQ(late.description, "No module has the specified Unique ID.");
    EXPECT_EQ(late.source, "Stratigon");
    EXPECT_EQ(Invoke(dispatch.get(), 2, {Text("b012345")}).value, kUniqueId);
}

TEST_F(AutomationEndToEndTest, TheMainDialogStaysOpenUntilEveryClientHasReleasedTheProxy)
{
    const HWND main = Start(kOneModule);
    ASSERT_NE(main, nullptr);
    win32::ComPtr<IDispatch> first;
    ASSERT_EQ(Create(first, IID_IDispatch), S_OK);
    AppDriver second;
    ASSERT_TRUE(second.Start(AppDriver::ProgramBesideThisOne("stratigon-holding-client.exe"), {},
                             Quoted(folder.File("holding")) + " " + Quoted(folder.File("release"))));
    for (int tries = 0; tries < 600 && !std::filesystem::exists(folder.Path() / "holding"); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(folder.Path() / "holding"));

    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.AnswerMessageBox(), kRefusal);
    first.reset();
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.AnswerMessageBox(), kRefusal) << "the second client still holds it";
    folder.Write("release", "");
    EXPECT_EQ(second.WaitForExit(), 0);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
}

TEST_F(AutomationEndToEndTest, AClientThatOnlyLocksTheServerDoesNotKeepTheUserFromClosing)
{
    const HWND main = Start(kOneModule);
    ASSERT_NE(main, nullptr);
    win32::ComPtr<IClassFactory> classObject;
    ASSERT_EQ(::CoGetClassObject(CLSID_StratigonApplication, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                 classObject.put_void()),
              S_OK);
    // Wine does not carry LockServer across processes (E_NOTIMPL); Windows does.
    const HRESULT locked = classObject->LockServer(TRUE);
    EXPECT_TRUE(locked == S_OK || locked == E_NOTIMPL) << std::hex << locked;
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
    classObject.release();  // its server has gone; there is nobody left to tell
}

TEST_F(AutomationEndToEndTest, CreatingTheObjectStartsTheProgramVisibleAsForAPerson)
{
    ASSERT_EQ(AppDriver::FindDialogOfAnyProcess(kMainCaption), nullptr) << "another Stratigon.exe is running";
    // COM starts the program from this process, which passes its environment on.
    const AppDriver::Environment bench = BenchEnvironment(kOneModule);
    for (const auto& [name, value] : bench)
        ::SetEnvironmentVariableA(name.c_str(), value.c_str());
    win32::ComPtr<IDispatch> client;
    const HRESULT created = Create(client, IID_IDispatch);
    for (const auto& entry : bench)
        ::SetEnvironmentVariableA(entry.first.c_str(), nullptr);
    ASSERT_EQ(created, S_OK);

    const HWND main = AppDriver::FindDialogOfAnyProcess(kMainCaption);
    ASSERT_NE(main, nullptr) << "the main dialog runs, visible, once the object is there";
    ASSERT_TRUE(app.Attach(main));
    EXPECT_EQ(Invoke(client.get(), 2, {Text("")}).value, kUniqueId);
    client.reset();
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
}

TEST_F(AutomationEndToEndTest, ARequestDuringTheScanIsServedOnceTheMainDialogRuns)
{
    ASSERT_TRUE(app.Start(kProgram, BenchEnvironment(R"({ "modules": [ { "interface": 0, "slot": 3,
        "logical_address": 24, "model_code": 1025, "latency_ms": 300 } ] })")));
    ASSERT_NE(app.WaitForWindow(kScanningCaption), nullptr);
    win32::ComPtr<IStratigonApplication> client;
    ASSERT_EQ(Create(client, IID_IStratigonApplication), S_OK);
    EXPECT_EQ(app.FindWindowOfProcess(kScanningCaption), nullptr);
    const HWND main = app.FindWindowOfProcess(kMainCaption);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(client->ShowWindow(1), S_OK);
    client.reset();
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
}

TEST_F(AutomationEndToEndTest, ARequestWhileTheScanFailureIsShownIsRefused)
{
    ASSERT_TRUE(app.Start(kProgram, BenchEnvironment(R"({ "modules": [ { "interface": 0, "slot": 3,
        "logical_address": 24, "model_code": 1025, "faults": { "exclusive_lock": true } } ] })")));
    ASSERT_NE(app.WaitForWindow("Stratigon"), nullptr) << "the scan failure message";
    win32::ComPtr<IDispatch> client;
    EXPECT_EQ(Create(client, IID_IDispatch), E_ACCESSDENIED);
    EXPECT_EQ(app.AnswerMessageBox(), "Another application has VISA locked. Close it before running Stratigon");
    EXPECT_EQ(app.WaitForExit(), 0);
}

// A rack with a product that has no option table and a module that never answers.
const std::string kRack = R"({ "modules": [
    { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025, "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1" },
    { "interface": 1, "slot": 4, "logical_address": 36, "model_code": 1025, "idn": "QUORVALIS,KVX7L3A,B000777,FVER:4.2.1" },
    { "interface": 1, "slot": 9, "logical_address": 41, "model_code": 1025, "faults": { "no_answer": ["*IDN?"] } } ] })";

std::string CsvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "\"" : ",\"") + field + "\"";
    return line + "\r\n";
}

// What both inventory samples write for that rack. The module columns come from the program
// through the dual interface, the upgrades and remarks are what a purchaser reads.
std::string ExpectedInventory(IStratigonApplication2* client)
{
    std::string csv = "Frame,Slot,Product,Serial number,Unique ID,Memory depth,State speed,Timing speed,Channels,"
                      "Upgrade,Resulting depth,Resulting speed,Remarks\r\n";
    ComPtr<IStratigonModules> modules;
    EXPECT_EQ(client->get_Modules(modules.put()), S_OK);
    const std::vector<std::vector<std::string>> upgradesAndRemarks[] = {
        {{"KVX7L1AUP Option 01", "256K", "100 MHz", ""}, {"KVX7L1AUP Option 04", "64K", "200 MHz", ""},
         {"KVX7L1AUP Option 05", "256K", "200 MHz", ""}},
        {{"", "", "", "This kind of product isn't defined in QDMT. / Not shown while DisplayAlerts is False: / "
                      "Error: No option table defined for this product: KVX7L3A"}},
        {{"", "", "", "Not read completely (status 114)"}},
    };
    for (LONG row = 0; row < 3; ++row) {
        ComPtr<IStratigonModule> module;
        EXPECT_EQ(modules->get_Item(Number(VT_I4, row + 1), module.put()), S_OK);
        const LateCall frame = Call(module.As<IDispatch>(IID_IDispatch).get(), L"FrameName");
        std::vector<std::string> columns{frame.value};
        for (const wchar_t* name : {L"Slot", L"ProductType", L"SerialNumber", L"UniqueID", L"MemoryDepth",
                                    L"StateSpeed", L"TimingSpeed", L"Channels"})
            columns.push_back(Call(module.As<IDispatch>(IID_IDispatch).get(), name).value);
        for (const std::vector<std::string>& rest : upgradesAndRemarks[row]) {
            std::vector<std::string> fields = columns;
            fields.insert(fields.end(), rest.begin(), rest.end());
            csv += CsvLine(fields);
        }
    }
    return csv;
}

TEST_F(AutomationEndToEndTest, TheInventorySamplesListTheRackWithoutAnyBoxWaitingForSomebody)
{
    const HWND main = Start(kRack);
    ASSERT_NE(main, nullptr);
    app.WatchWindows();
    for (const char* sample : {"Inventory.vbs", "inventory.js"}) {
        SCOPED_TRACE(sample);
        const std::string csv = folder.File(std::string(sample) + ".csv");
        EXPECT_EQ(Run(Script(AppDriver::ProgramBesideThisOne(sample)) + Quoted(csv)), 0) << output;
        EXPECT_EQ(output.substr(0, output.find_first_of("\r\n")), "Wrote 5 lines for 3 modules to " + csv);
    }
    ComPtr<IStratigonApplication2> client;
    ASSERT_EQ(Create(client, IID_IStratigonApplication2), S_OK);
    VARIANT_BOOL display = VARIANT_FALSE;
    EXPECT_EQ(client->get_DisplayAlerts(&display), S_OK);
    EXPECT_EQ(display, VARIANT_TRUE) << "the scripts' setting went with them";
    ASSERT_EQ(client->put_DisplayAlerts(VARIANT_FALSE), S_OK);
    const std::string expected = ExpectedInventory(client.get());
    EXPECT_EQ(folder.Read("Inventory.vbs.csv"), expected);
    EXPECT_EQ(folder.Read("inventory.js.csv"), expected);
    client.reset();
    const std::set<std::string> captions = app.CaptionsSeen();
    EXPECT_EQ(captions.count("Stratigon"), 0u) << "a message box appeared";
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0) << "the scripts let the program go";
}

TEST_F(AutomationEndToEndTest, AClientBuiltAgainstTypeLibrary10StillWorks)
{
    const HWND main = Start(kOneModule);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Run(Quoted(AppDriver::ProgramBesideThisOne("UpgradeBySerial-1.0.exe")) + " B012345 04 " +
                  Quoted(folder.File("order.txt"))),
              0)
        << output;
    EXPECT_TRUE(Contains(output, "Installed 04")) << output;
    EXPECT_EQ(ControlText(main, IDC_STATE_SPEED), "200 MHz");
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
}

TEST_F(AutomationEndToEndTest, EverySampleSaysSoAndFailsWhenTheUtilityCannotBeReached)
{
    ASSERT_EQ(Run(Quoted(kProgram) + " /UnregServer"), 0) << output;
    const std::pair<std::string, std::string> samples[] = {
        {Script(AppDriver::ProgramBesideThisOne("UpgradeBySerial.vbs")) + "B012345 05", "Cannot reach"},
        {Script(AppDriver::ProgramBesideThisOne("Inventory.vbs")) + Quoted(folder.File("a.csv")), "Cannot reach"},
        {Script(AppDriver::ProgramBesideThisOne("inventory.js")) + Quoted(folder.File("b.csv")), "Cannot reach"},
        {Quoted(AppDriver::ProgramBesideThisOne("UpgradeBySerial.exe")) + " B012345 05", "CoCreateInstance failed"},
    };
    for (const auto& [commandLine, said] : samples) {
        SCOPED_TRACE(commandLine);
        EXPECT_NE(Run(commandLine), 0) << output;
        EXPECT_TRUE(Contains(output, said)) << output;
    }
    EXPECT_EQ(Run(Quoted(kProgram) + " /RegServer"), 0) << output;
}

std::string MachineValue(const std::string& key)
{
    char value[512] = {};
    DWORD size = sizeof value;
    const LONG found = ::RegGetValueA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + key).c_str(), nullptr,
                                      RRF_RT_REG_SZ, nullptr, value, &size);
    return found == ERROR_SUCCESS ? value : "(none)";
}

TEST_F(AutomationEndToEndTest, TheProgramWritesAndRemovesItsOwnRegistration)
{
    const std::string classKey = "CLSID\\{62AC1D3D-E1D1-4BA9-BFF7-B227EBBA3180}";
    // Ends registered, as the other tests need it.
    for (const auto& [request, registered] : {std::pair{"/UnregServer", false}, {"-REGSERVER", true},
                                              {"-unregserver", false}, {"/RegServer", true}}) {
        SCOPED_TRACE(request);
        EXPECT_EQ(Run(Quoted(kProgram) + " " + request), 0) << output;
        EXPECT_EQ(output, "");
        EXPECT_EQ(MachineValue("Stratigon.Application\\CLSID"),
                  registered ? "{62AC1D3D-E1D1-4BA9-BFF7-B227EBBA3180}" : "(none)");
        EXPECT_EQ(MachineValue(classKey + "\\LocalServer32"), registered ? Quoted(kProgram) : "(none)");
        // The interfaces of both type library versions, marshalled by the type library.
        for (const char* iid : {"{0A418B5A-01BA-47DA-9C40-7C9821D156CD}", "{51527D82-7E2C-433E-A81D-514027442113}",
                                "{450E52C7-931C-4FA2-89A3-2D45A9089816}", "{DBFD9DAF-9C99-4C69-803C-4FD53F83C2C7}"})
            EXPECT_EQ(MachineValue(std::string("Interface\\") + iid + "\\ProxyStubClsid32"),
                      registered ? "{00020424-0000-0000-C000-000000000046}" : "(none)")
                << iid;
        EXPECT_EQ(MachineValue("TypeLib\\{795165A6-6D97-4468-80D4-D46F492B5DE0}\\1.1\\0\\win64") != "(none)", registered);
        EXPECT_EQ(MachineValue("TypeLib\\{795165A6-6D97-4468-80D4-D46F492B5DE0}\\1.0\\0\\win64"), "(none)")
            << "the older library's registration goes";
    }
}

}  // namespace
}  // namespace stratigon::test
