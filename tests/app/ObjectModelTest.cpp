#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "instrument/FrameNames.h"
#include "module/ModuleCodes.h"
#include "module/ModuleReading.h"
#include "tests/app/AutomationFixture.h"

namespace stratigon::test {
namespace {

using win32::ComPtr;

// A rack with every kind of module the object model describes: two analyzers and a pattern
// generator in the mainframe; in the second expansion frame a product without an option table
// and a module that does not answer at all.
const std::string kRack = Bench({
    Analyzer(0, 3),
    Analyzer(0, 5, "KVX7L1B", "B000123"),
    R"({ "interface": 0, "slot": 7, "logical_address": 7, "model_code": 1025, "kind": "pattern-generator",
         "idn": "QUORVALIS,KVX7PG2,C100200,FW:2.0.5" })",
    Analyzer(2, 4, "KVX7L3A", "B000777"),
    R"({ "interface": 2, "slot": 9, "logical_address": 73, "model_code": 1025, "faults": { "no_answer": ["*IDN?"] } })",
});
constexpr int kModules = 5;
constexpr int kNoOptionTable = 3;
constexpr int kSilent = 4;

class ObjectModelTest : public AutomationTest {
public:
    ComPtr<IStratigonApplication2> Connect2() { return Connect<IStratigonApplication2>(IID_IStratigonApplication2); }

    static ComPtr<IStratigonModules> ModulesOf(IStratigonApplication2* client)
    {
        ComPtr<IStratigonModules> modules;
        EXPECT_EQ(client->get_Modules(modules.put()), S_OK);
        return modules;
    }

    static ComPtr<IStratigonModule> ModuleAt(IStratigonModules* modules, int row)
    {
        ComPtr<IStratigonModule> module;
        EXPECT_EQ(modules->get_Item(Number(VT_I4, row + 1), module.put()), S_OK);
        return module;
    }

    static ComPtr<IDispatch> Late(IUnknown* object) { return ComPtr<IUnknown>(object).As<IDispatch>(IID_IDispatch); }

    static int IdentityQueries()
    {
        int count = 0;
        for (const std::string& line : sim::TraceLines())
            count += line.rfind("W ", 0) == 0 && line.find(" *IDN?") != std::string::npos;
        return count;
    }

    std::vector<std::string> LastAlerts(IDispatch* client) { return Call(client, L"LastAlerts").texts; }
};

TEST_F(ObjectModelTest, TheCollectionHoldsOneReadoutOfEveryModuleInTableOrder)
{
    Open(kRack);
    const std::string shownSerial = ControlText(dialog, IDC_SERIAL_NUMBER);
    const auto client = Connect2();
    const auto modules = ModulesOf(client.get());
    EXPECT_EQ(IdentityQueries(), kModules + 1) << "each module once, then the dialog's selection again";
    ExpectModuleObjectOnSelection();
    EXPECT_EQ(ControlText(dialog, IDC_SERIAL_NUMBER), shownSerial) << "the display does not change";
    LONG count = 0;
    ASSERT_EQ(modules->get_Count(&count), S_OK);
    EXPECT_EQ(count, kModules);

    for (int row = 0; row < kModules; ++row) {
        SCOPED_TRACE(row);
        const ModuleReading expected = ReadModuleAt(bench->Module(), row);
        const auto module = Late(ModuleAt(modules.get(), row).get());
        const std::pair<const wchar_t*, std::string> properties[] = {
            {L"Frame", std::to_string(expected.device.interfaceNumber)},
            {L"FrameName", FrameName(expected.device.interfaceNumber)},
            {L"Slot", std::to_string(expected.device.slot)},
            {L"ResourceName", "VXI" + std::to_string(expected.device.interfaceNumber) + "::" +
                                  std::to_string(expected.device.logicalAddress) + "::INSTR"},
            {L"ProductType", expected.productName},
            {L"SerialNumber", expected.serialNumber},
            {L"UniqueID", expected.uniqueId},
            {L"MemoryDepth", expected.memoryDepth},
            {L"StateSpeed", expected.stateSpeed},
            {L"TimingSpeed", expected.timingSpeed},
            {L"Channels", expected.channels},
            {L"ReadStatus", std::to_string(expected.status)},
        };
        for (const auto& [name, value] : properties)
            EXPECT_EQ(Call(module.get(), name).value, value) << static_cast<const void*>(name);
    }
    const auto silent = Late(ModuleAt(modules.get(), kSilent).get());
    EXPECT_EQ(Call(silent.get(), L"ReadStatus").value, std::to_string(ModuleCode::QueryFailed));
    EXPECT_EQ(Call(silent.get(), L"FrameName").value, "Expansion-2");
}

TEST_F(ObjectModelTest, ItemTakesANumberFromOneAUniqueIdOrASerialNumberInAnyCase)
{
    Open(kRack);
    std::string lowerCaseId = UniqueIdAt(2);
    for (char& c : lowerCaseId)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto client = Connect2();
    const auto modules = ModulesOf(client.get());
    struct Case {
        const char* what;
        std::function<VARIANT()> index;
        HRESULT result;
        const char* serial;  // of the module found
    };
    const Case cases[] = {
        {"the first number", [] { return Number(VT_I4, 1); }, S_OK, "B012345"},
        {"a number of another type", [] { return Number(VT_R8, 2.0); }, S_OK, "B000123"},
        {"a serial number in small letters", [] { return Text("b000123"); }, S_OK, "B000123"},
        {"a unique ID in small letters", [&] { return Text(lowerCaseId.c_str()); }, S_OK, "C100200"},
        {"no number 0", [] { return Number(VT_I4, 0); }, DISP_E_BADINDEX, ""},
        {"no number beyond the count", [] { return Number(VT_I4, kModules + 1); }, DISP_E_BADINDEX, ""},
        {"a text is a name, not a number", [] { return Text("2"); }, Failure(1008), ""},
        {"an unknown serial number", [] { return Text("B999999"); }, Failure(1008), ""},
        {"an unknown unique ID", [] { return Text("12:34:56:78:9A:BC"); }, Failure(1010), ""},
    };
    const auto late = Late(modules.get());
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        // As scripts write it: Modules(index), the collection's default member.
        const LateCall call = Invoke(late.get(), DISPID_VALUE, {test.index()}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
        EXPECT_EQ(call.Outcome(), test.result);
        ComPtr<IStratigonModule> module;
        VARIANT index = test.index();
        EXPECT_EQ(modules->get_Item(index, module.put()), test.result);
        ::VariantClear(&index);
        if (test.result != S_OK)
            continue;
        EXPECT_EQ(Call(Late(call.object.get()).get(), L"SerialNumber").value, test.serial);
        BSTR serial = nullptr;
        EXPECT_EQ(module->get_SerialNumber(&serial), S_OK);
        EXPECT_EQ(Narrow(serial), test.serial);
        ::SysFreeString(serial);
    }
}

TEST_F(ObjectModelTest, ForEachWalksEveryModuleAndTheEnumeratorResetsSkipsAndClones)
{
    Open(kRack);
    const auto client = Connect2();
    const auto modules = ModulesOf(client.get());
    const LateCall newEnum = Invoke(Late(modules.get()).get(), DISPID_NEWENUM, {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    ASSERT_EQ(newEnum.result, S_OK);
    const auto enumerator = newEnum.object.As<IEnumVARIANT>(IID_IEnumVARIANT);
    ASSERT_TRUE(enumerator);

    const auto serials = [](IEnumVARIANT* walker, ULONG wanted, HRESULT result) {
        std::vector<VARIANT> items(wanted);
        ULONG fetched = 99;
        EXPECT_EQ(walker->Next(wanted, items.data(), &fetched), result);
        std::vector<std::string> found;
        for (ULONG i = 0; i < fetched; ++i) {
            found.push_back(Call(V_DISPATCH(&items[i]), L"SerialNumber").value);
            ::VariantClear(&items[i]);
        }
        return found;
    };
    const std::vector<std::string> all{"B012345", "B000123", "C100200", "B000777", ""};
    std::vector<std::string> walked;
    for (int item = 0; item < kModules; ++item) {
        const std::vector<std::string> next = serials(enumerator.get(), 1, S_OK);
        walked.insert(walked.end(), next.begin(), next.end());
    }
    EXPECT_EQ(walked, all);
    EXPECT_EQ(serials(enumerator.get(), 1, S_FALSE), std::vector<std::string>{}) << "at the end";

    EXPECT_EQ(enumerator->Reset(), S_OK);
    EXPECT_EQ(serials(enumerator.get(), 2, S_OK), (std::vector<std::string>{"B012345", "B000123"}));
    EXPECT_EQ(enumerator->Skip(1), S_OK);
    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(enumerator->Clone(clone.put()), S_OK);
    EXPECT_EQ(serials(clone.get(), 1, S_OK), std::vector<std::string>{"B000777"}) << "the clone goes on from there";
    EXPECT_EQ(serials(enumerator.get(), 5, S_FALSE), (std::vector<std::string>{"B000777", ""}));
    EXPECT_EQ(enumerator->Skip(1), S_FALSE);
}

TEST_F(ObjectModelTest, PossibleUpgradesAreTheLinesOfThePossibleUpgradesDialog)
{
    Open(kRack);
    const auto client = Connect2();
    const auto modules = ModulesOf(client.get());
    for (int row : {0, 1, 2}) {
        SCOPED_TRACE(row);
        ASSERT_EQ(client->SelectModule(Bstr(UniqueIdAt(row)).value), S_OK);
        std::vector<std::string> dialogLines;
        ASSERT_TRUE(WhileModal("Possible Stratigon Upgrades", [&] { ClickButton(dialog, IDC_VIEW_UPGRADES); },
                               [&](HWND upgrades) {
                                   dialogLines = ListEntries(upgrades, IDC_UPGRADE_LIST);
                                   ClickButton(upgrades, IDC_UPGRADE_CLOSE);
                               }));
        const LateCall lines = Call(Late(ModuleAt(modules.get(), row).get()).get(), L"PossibleUpgrades");
        EXPECT_EQ(lines.result, S_OK);
        EXPECT_EQ(lines.texts, dialogLines);
    }
    EXPECT_FALSE(Call(Late(ModuleAt(modules.get(), 0).get()).get(), L"PossibleUpgrades").texts.empty());

    boxes.messages.clear();
    const LateCall noTable = Call(Late(ModuleAt(modules.get(), kNoOptionTable).get()).get(), L"PossibleUpgrades");
    EXPECT_EQ(noTable.Outcome(), Failure(1015));
    EXPECT_EQ(boxes.messages, std::vector<std::string>{"Error: No option table defined for this product: KVX7L3A"});
    VARIANT lines;
    EXPECT_EQ(ModuleAt(modules.get(), kSilent)->get_PossibleUpgrades(&lines), S_OK);
    EXPECT_EQ(V_VT(&lines), VT_ARRAY | VT_VARIANT) << "an empty array for a module that could not be read";
    EXPECT_EQ(V_ARRAY(&lines)->rgsabound[0].cElements, 0u);
    ::VariantClear(&lines);
}

TEST_F(ObjectModelTest, AModulesMethodsDoWhatTheApplicationsDoForItsUniqueId)
{
    Open(kRack);
    const auto client = Connect2();
    const auto modules = ModulesOf(client.get());
    const auto first = ModuleAt(modules.get(), 0);
    const std::string report = folder.File("order.txt");
    struct Case {
        const char* what;
        int row;
        std::function<HRESULT(IStratigonModule*)> call;
        HRESULT result;
    };
    const Case cases[] = {
        {"an option not defined", 0, [](IStratigonModule* m) { return m->InstallUpgrade(Bstr("XX").value); }, Failure(1011)},
        {"an upgrade", 0, [](IStratigonModule* m) { return m->InstallUpgrade(Bstr("kvx7l1aup-opt-05").value); }, S_OK},
        {"the same again no longer fits", 0, [](IStratigonModule* m) { return m->InstallUpgrade(Bstr("05").value); },
         Failure(1013)},
        {"a report", 1, [&](IStratigonModule* m) { return m->SaveUpgradeInfoToFile(Bstr(report).value, Bstr("").value); },
         S_OK},
        {"a report of a product without a table", kNoOptionTable,
         [&](IStratigonModule* m) { return m->SaveUpgradeInfoToFile(Bstr(report).value, Bstr("").value); }, Failure(1015)},
        {"a module read without a unique ID", kSilent, [](IStratigonModule* m) { return m->InstallUpgrade(Bstr("05").value); },
         Failure(1010)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(test.call(ModuleAt(modules.get(), test.row).get()), test.result);
        ExpectModuleObjectOnSelection();
    }
    EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), "256K") << "the selected module, read after its upgrade";
    EXPECT_NE(folder.Read("order.txt").find("B000123"), std::string::npos);

    BSTR depth = nullptr;
    first->get_MemoryDepth(&depth);
    EXPECT_EQ(Narrow(depth), "64K") << "a snapshot until it is read again";
    ::SysFreeString(depth);
    EXPECT_EQ(first->Refresh(), S_OK);
    first->get_MemoryDepth(&depth);
    EXPECT_EQ(Narrow(depth), "256K");
    ::SysFreeString(depth);
}

TEST_F(ObjectModelTest, AModuleThatHasGoneReportsTheTransportsErrorNeverAStaleSuccess)
{
    Open(kRack);
    const auto client = Connect2();
    const auto modules = ModulesOf(client.get());
    const auto module = ModuleAt(modules.get(), 0);
    ASSERT_EQ(client->put_DisplayAlerts(VARIANT_FALSE), S_OK);
    boxes.messages.clear();
    sim::Configure(sim::BenchOptions{.benchText = "{}"});  // every session of the bench is gone

    const LateCall refresh = Call(Late(module.get()).get(), L"Refresh");
    EXPECT_EQ(refresh.Outcome(), Failure(1002));
    EXPECT_EQ(refresh.description.rfind("The operation was unsuccessful. Error: Failure when querying module.", 0), 0u)
        << refresh.description;
    const std::vector<std::string> kept = LastAlerts(Late(client.get()).get());
    ASSERT_FALSE(kept.empty()) << "the transport's own words";
    EXPECT_NE(refresh.description.find(kept.front()), std::string::npos);
    LONG status = 0;
    module->get_ReadStatus(&status);
    EXPECT_EQ(status, ModuleCode::QueryFailed);
    EXPECT_EQ(module->InstallUpgrade(Bstr("05").value), Failure(1010));
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(ObjectModelTest, WithoutDisplayAlertsAClientCallKeepsTheBoxesItWouldShowAndEndsTheSame)
{
    const std::string refusing = R"({ "interface": 0, "slot": 3, "logical_address": 3, "model_code": 1025,
        "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", "faults": { "refuse": ["SYST:CONF:DEPT"] } })";
    struct Case {
        const char* what;
        std::string bench;
        std::function<LateCall(ObjectModelTest&, IDispatch*)> call;
        HRESULT result;
    };
    const Case cases[] = {
        {"a refused configuration command", Bench({refusing}),
         [](ObjectModelTest& t, IDispatch* app) {
             return Call(app, L"InstallUpgrade", {Text("01"), Text(t.UniqueIdAt(0).c_str())});
         },
         Failure(1014)},
        {"a report into a folder that does not exist", Bench({Analyzer(0, 3)}),
         [](ObjectModelTest& t, IDispatch* app) {
             const std::string path = t.folder.File("missing\\order.txt");
             return Call(app, L"SaveUpgradeInfoToFile", {Text(path.c_str()), Text(t.UniqueIdAt(0).c_str()), Text("")});
         },
         Failure(1002)},
        {"a product without an option table", Bench({Analyzer(2, 4, "KVX7L3A", "B000777")}),
         [](ObjectModelTest&, IDispatch* app) {
             const auto modules = Call(app, L"Modules").object;
             const auto module = Invoke(Late(modules.get()).get(), DISPID_VALUE, {Number(VT_I4, 1)}).object;
             return Call(Late(module.get()).get(), L"PossibleUpgrades");
         },
         Failure(1015)},
        {"a module that does not answer", kRack, [](ObjectModelTest&, IDispatch* app) { return Call(app, L"Modules"); },
         S_OK},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Open(test.bench);
        const auto app = Late(Connect2().get());
        boxes.messages.clear();
        const LateCall shown = test.call(*this, app.get());
        const std::vector<std::string> texts = boxes.messages;
        EXPECT_FALSE(texts.empty()) << "the lower layers show boxes";
        EXPECT_EQ(LastAlerts(app.get()), std::vector<std::string>{});

        boxes.messages.clear();
        EXPECT_EQ(Call(app.get(), L"DisplayAlerts", {Number(VT_BOOL, 0)}, DISPATCH_PROPERTYPUT).result, S_OK);
        const LateCall kept = test.call(*this, app.get());
        EXPECT_EQ(boxes.messages, std::vector<std::string>{}) << "no box while the call runs";
        EXPECT_EQ(kept.Outcome(), test.result);
        EXPECT_EQ(shown.Outcome(), test.result);
        EXPECT_EQ(LastAlerts(app.get()), texts);
        if (test.result != S_OK)
            EXPECT_NE(kept.description.find("\n" + texts.back()), std::string::npos) << kept.description;
        EXPECT_EQ(Call(app.get(), L"ShowWindow", {Number(VT_I4, 1)}).result, S_OK);
        EXPECT_EQ(LastAlerts(app.get()), std::vector<std::string>{}) << "every call starts with none kept";
    }

    // What the person at the screen does still shows its boxes.
    Open(Bench({Analyzer(0, 3), Analyzer(2, 3, "KVX7L1A", "B000555")}));
    const auto app = Connect2();
    ASSERT_EQ(app->put_DisplayAlerts(VARIANT_FALSE), S_OK);
    PickComboEntry(dialog, IDC_FRAME_LIST, 1);
    EXPECT_EQ(boxes.messages, std::vector<std::string>{"No module to Stratigon."});
}

TEST_F(ObjectModelTest, DisplayAlertsIsTrueAgainOnceTheLastClientAndItsObjectsHaveGone)
{
    Open(kRack);
    auto first = Connect2();
    VARIANT_BOOL display = VARIANT_FALSE;
    ASSERT_EQ(first->get_DisplayAlerts(&display), S_OK);
    EXPECT_EQ(display, VARIANT_TRUE) << "by default";
    ASSERT_EQ(first->put_DisplayAlerts(VARIANT_FALSE), S_OK);
    auto second = Connect2();
    second->get_DisplayAlerts(&display);
    EXPECT_EQ(display, VARIANT_FALSE) << "one setting for the one program";
    auto module = ModuleAt(ModulesOf(second.get()).get(), 0);
    first.reset();
    second.reset();
    EXPECT_FALSE(alerts.Displayed()) << "a module object still holds the program";
    EXPECT_TRUE(window->IsClientConnected());
    module.reset();
    EXPECT_TRUE(alerts.Displayed());
    EXPECT_FALSE(window->IsClientConnected());
}

TEST_F(ObjectModelTest, AnInstallationWhileNoModuleIsSelectedLeavesTheValueFieldsEmpty)
{
    Open(Bench({Analyzer(0, 3), Analyzer(2, 3, "KVX7L1A", "B000555")}));
    PickComboEntry(dialog, IDC_FRAME_LIST, 1);  // Expansion-1 holds no module
    ASSERT_EQ(window->SelectedModule(), ui::CMainWindow::kNoModule);
    const auto client = Connect2();
    EXPECT_EQ(client->InstallUpgrade(Bstr("05").value, Bstr(UniqueIdAt(1)).value), S_OK);
    for (int id : {IDC_PRODUCT_NAME, IDC_SERIAL_NUMBER, IDC_UNIQUE_ID, IDC_MEMORY_DEPTH, IDC_STATE_SPEED,
                   IDC_TIMING_SPEED, IDC_CHANNELS})
        EXPECT_EQ(ControlText(dialog, id), "") << id;
    EXPECT_TRUE(IsShown(dialog, IDC_NO_MODULE));
}

TEST_F(ObjectModelTest, TheInstallWindowInstallsOnItsOwnModuleWhenAClientSelectsAnother)
{
    Open(Bench({Analyzer(0, 3), Analyzer(2, 3, "KVX7L1B", "B000555")}));
    const auto client = Connect2();
    const std::string other = UniqueIdAt(1);
    ASSERT_TRUE(WhileModal("Install Stratigon Upgrade", [&] { ClickButton(dialog, IDC_INSTALL_UPGRADE); },
                           [&](HWND install) {
                               EXPECT_EQ(client->SelectModule(Bstr(other).value), S_OK);
                               PickListEntry(install, IDC_UPGRADE_LIST, 0);  // KVX7L1AUP Option 01: 256K
                               AnswerQuestion([&] { ClickButton(install, IDC_INSTALL); }, IDYES);
                               if (::IsWindowVisible(install))
                                   ClickButton(install, IDC_UPGRADE_CLOSE);
                           }));
    EXPECT_EQ(boxes.messages.back(), "You have successfully installed the upgrade:\n"
                                     "Increased from 64K@100 MHz to 256K@100 MHz");
    bench->Module().ReadModule(bench->SessionAt(0));
    EXPECT_EQ(bench->Module().GetMemoryDepth(), "256K") << "the module the window was opened for";
    bench->Module().ReadModule(bench->SessionAt(1));
    EXPECT_EQ(bench->Module().GetMemoryDepth(), "64K") << "the module the client selected";
    bench->Module().ReadModule(window->SelectedModule());
    // The main dialog shows the client's module under its frame and slot.
    EXPECT_EQ(ControlText(dialog, IDC_FRAME_LIST), "Expansion-2");
    EXPECT_EQ(ControlText(dialog, IDC_SERIAL_NUMBER), "B000555");
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7L1B");
    EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), "64K");
}

TEST_F(ObjectModelTest, AWindowAClientHidIsShownAgainWhenTheLastClientGoes)
{
    Open(kRack);
    auto client = Connect2();
    ASSERT_EQ(client->ShowWindow(0), S_OK);
    EXPECT_FALSE(::IsWindowVisible(dialog));
    client.reset();
    EXPECT_TRUE(::IsWindowVisible(dialog));
}

}  // namespace
}  // namespace stratigon::test
