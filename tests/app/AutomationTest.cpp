#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "tests/app/AutomationFixture.h"
#include "win32/AnsiText.h"

namespace stratigon::test {
namespace {

using win32::ComPtr;

const std::string kSecondModule = Analyzer(0, 5, "KVX7L1B", "B000123");
// Its readout stops at the width query, so its serial number is known but no unique ID.
const std::string kModuleWithoutUniqueId =
    R"({ "interface": 0, "slot": 7, "logical_address": 7, "model_code": 1025, "idn": "QUORVALIS,KVX7L1A,B777777,FVER:4.2.1",
         "faults": { "no_answer": ["SYST:CONF:WIDT?"] } })";

TEST_F(AutomationTest, GetUniqueIdLooksUpTheSerialNumberThroughBothBindings)
{
    struct Case {
        std::vector<std::string> modules;
        const char* serial;
        HRESULT result;
        int row;  // whose unique ID comes back
    };
    const Case cases[] = {
        {{Analyzer(0, 3)}, "", S_OK, 0},
        {{Analyzer(0, 3)}, nullptr, S_OK, 0},
        {{}, "", Failure(1009), -1},
        {{Analyzer(0, 3), kSecondModule}, "", Failure(1009), -1},
        {{Analyzer(0, 3), kSecondModule}, "b000123", S_OK, 1},
        {{Analyzer(0, 3), kSecondModule}, "B999999", Failure(1008), -1},
        {{Analyzer(0, 3), kModuleWithoutUniqueId}, "B777777", Failure(1017), -1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << Bench(test.modules) << " serial " << (test.serial ? test.serial : "(null)"));
        Open(Bench(test.modules));
        const std::string expected = test.row < 0 ? "" : UniqueIdAt(test.row);
        const auto client = Connect();

        // A failure sets the out parameter to null, as the marshaller does between processes.
        const win32::UniqueBstr sentinel(::SysAllocString(L"sentinel"));
        BSTR dualValue = sentinel.get();
        EXPECT_EQ(client->GetUniqueID(test.serial == nullptr ? nullptr : Bstr(test.serial).value, &dualValue), test.result);
        if (test.row < 0)
            EXPECT_EQ(dualValue, nullptr);
        EXPECT_EQ(Narrow(dualValue), expected);
        if (dualValue != sentinel.get())
            ::SysFreeString(dualValue);

        const LateCall late = Invoke(client.get(), 2, {Text(test.serial)}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
        EXPECT_EQ(late.Outcome(), test.result);
        if (test.row >= 0) {
            EXPECT_EQ(late.value, expected);
        }
        if (!test.modules.empty())
            ExpectModuleObjectOnSelection();
    }
}

TEST_F(AutomationTest, SelectModuleMovesTheFrameAndSlotListsToTheModule)
{
    Open(Bench({Analyzer(0, 3), Analyzer(2, 5, "KVX7N2", "B000123"), Analyzer(2, 7, "KVX7N1", "B000456"),
                kModuleWithoutUniqueId}));
    const auto client = Connect<IDispatch>(IID_IDispatch);
    const std::string target = UniqueIdAt(2);
    std::string lowerCase = target;
    std::transform(lowerCase.begin(), lowerCase.end(), lowerCase.begin(), ::tolower);

    EXPECT_EQ(Invoke(client.get(), 3, {Text(lowerCase.c_str())}).result, S_OK);
    EXPECT_EQ(ControlText(dialog, IDC_FRAME_LIST), "Expansion-2");
    EXPECT_EQ(ComboEntries(dialog, IDC_SLOT_LIST), (std::vector<std::string>{"5", "7"}));
    EXPECT_EQ(ControlText(dialog, IDC_SLOT_LIST), "7");
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7N1");
    EXPECT_TRUE(IsEnabledControl(dialog, IDC_SLOT_LIST));
    EXPECT_EQ(window->SelectedModule(), bench->SessionAt(2));
    ExpectModuleObjectOnSelection();

    EXPECT_EQ(Invoke(client.get(), 3, {Text(L"00:00:00:00:00:00")}).Outcome(), Failure(1010));
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7N1") << "a failed selection changes nothing";

    // An empty text names the first module whose readout stopped before its unique ID.
    EXPECT_EQ(Invoke(client.get(), 3, {Text(L"")}).result, S_OK);
    EXPECT_EQ(ControlText(dialog, IDC_FRAME_LIST), "Mainframe");
    EXPECT_EQ(ControlText(dialog, IDC_SLOT_LIST), "7");
    EXPECT_EQ(window->SelectionStatus(), 114);
    EXPECT_TRUE(boxes.messages.size() > 0) << "the failed readout told the user";
}

TEST_F(AutomationTest, InstallUpgradeTakesAnyFormOfTheOptionAndRefreshesTheDisplay)
{
    struct Case {
        const char* upgrade;
        HRESULT result;
        std::string depth, speed;
    };
    const Case cases[] = {
        {"KVX7L1AUP-Opt-05", S_OK, "256K", "200 MHz"},
        {"kvx7l1aup option 01", S_OK, "256K", "100 MHz"},
        {"04", S_OK, "64K", "200 MHz"},
        {"99", Failure(1011), "64K", "100 MHz"},
        {"", Failure(1011), "64K", "100 MHz"},
        {"KVX7L1AUP-Opt-10", Failure(1013), "64K", "100 MHz"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.upgrade);
        Open(Bench({Analyzer(0, 3)}));
        const auto client = Connect();
        const std::string uniqueId = UniqueIdAt(0);
        EXPECT_EQ(client->InstallUpgrade(Bstr(test.upgrade).value, Bstr(uniqueId).value),
                  test.result);
        EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), test.depth);
        EXPECT_EQ(ControlText(dialog, IDC_STATE_SPEED), test.speed);
        EXPECT_EQ(CommandsSent().empty(), test.result != S_OK);
        EXPECT_TRUE(boxes.messages.empty()) << boxes.messages.front();
    }
}

TEST_F(AutomationTest, InstallUpgradeFailuresReachTheClientAndNothingReachesAnUnknownModule)
{
    Open(Bench({Analyzer(0, 3, "KVX7L3A"), R"({ "interface": 1, "slot": 2, "logical_address": 40, "idn":
        "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", "faults": { "refuse": ["SYST:CONF:DEPT"] } })"}));
    const auto client = Connect();
    EXPECT_EQ(client->InstallUpgrade(Bstr("05").value, Bstr("00:00:00:00:00:00").value), Failure(1010));
    EXPECT_EQ(CommandsSent(), std::vector<std::string>{}) << "only queries went out";

    EXPECT_EQ(client->InstallUpgrade(Bstr("05").value, Bstr(UniqueIdAt(0)).value),
              Failure(1011));
    EXPECT_EQ(boxes.messages, std::vector<std::string>{"Error: No option table defined for this product: KVX7L3A"});

    boxes.messages.clear();
    EXPECT_EQ(client->InstallUpgrade(Bstr("01").value, Bstr(UniqueIdAt(1)).value),
              Failure(1014));
    EXPECT_EQ(boxes.messages, std::vector<std::string>{"Error: Unable to change the memory depth to 256K.\n"
                                                             "Upgrade failed."});
    ExpectModuleObjectOnSelection();
}

TEST_F(AutomationTest, SaveUpgradeInfoToFileReportsTheNamedModuleAndKeepsTheDisplay)
{
    Open(Bench({Analyzer(0, 3), kSecondModule, Analyzer(1, 2, "KVX7L3A", "B000999")}));
    const auto client = Connect<IDispatch>(IID_IDispatch);
    const std::string second = UniqueIdAt(1);
    const std::string path = folder.File("order.txt");

    EXPECT_EQ(Invoke(client.get(), 5, {Text(path.c_str()), Text(second.c_str()), Text("kvx7l1bup option 05")}).result, S_OK);
    const std::string text = folder.Read("order.txt");
    EXPECT_NE(text.find("B000123"), std::string::npos) << text;
    EXPECT_NE(text.find("Upgrade option Selected:\r\n\r\n\tUpgrade Kit & Option\tMemory Depth\tState Speed\r\n"
                        "\tKVX7L1BUP Option 05\t256K\t\t200 MHz"),
              std::string::npos)
        << text;
    EXPECT_EQ(ControlText(dialog, IDC_SERIAL_NUMBER), "B012345");
    ExpectModuleObjectOnSelection();

    EXPECT_EQ(Invoke(client.get(), 5, {Text(L""), Text(second.c_str()), Text(L"")}).result, S_OK);
    EXPECT_NE(folder.Read("KVXUpgradeInfo.txt").find("- No Upgrade Selected -"), std::string::npos)
        << "an empty path writes the default file";

    const std::string unknownProduct = UniqueIdAt(2);
    EXPECT_EQ(Invoke(client.get(), 5, {Text(path.c_str()), Text(L"nobody"), Text(L"")}).Outcome(), Failure(1010));
    EXPECT_EQ(Invoke(client.get(), 5, {Text(path.c_str()), Text(unknownProduct.c_str()), Text(L"")}).Outcome(),
              Failure(1015));
}

TEST_F(AutomationTest, ShowWindowHidesAndShowsTheMainDialogAndRefusesOtherValues)
{
    Open(Bench({Analyzer(0, 3)}));
    const auto client = Connect();
    const struct {
        LONG show;
        HRESULT result;
        bool visible;
    } cases[] = {{0, S_OK, false}, {2, Failure(1003), false}, {1, S_OK, true}, {-1, Failure(1003), true}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.show);
        EXPECT_EQ(client->ShowWindow(test.show), test.result);
        EXPECT_EQ(::IsWindowVisible(dialog) != FALSE, test.visible);
    }
    const LateCall late = Invoke(client.get(), 1, {Number(VT_I4, 2)});
    EXPECT_EQ(late.result, DISP_E_EXCEPTION);
    EXPECT_EQ(late.code, 1003);
    EXPECT_EQ(late.description, "An error occurred when showing/hiding the application window.");
}

TEST_F(AutomationTest, LateBoundErrorsCarryTheCodeTextAndApplicationName)
{
    Open(Bench({Analyzer(0, 3)}));
    const auto client = Connect<IDispatch>(IID_IDispatch);
    const LateCall call = Invoke(client.get(), 3, {Text(L"12:34")});
    EXPECT_EQ(call.result, DISP_E_EXCEPTION);
    EXPECT_EQ(call.code, 1010);
    EXPECT_EQ(call.status, S_OK);
    EXPECT_EQ(call.description, "No module has the specified Unique ID.");
    EXPECT_EQ(call.source, "Stratigon");
    EXPECT_EQ(call.helpFile, "");
    EXPECT_EQ(call.helpContext, 0u);
}

TEST_F(AutomationTest, DualErrorsSetTheThreadsErrorInformation)
{
    Open(Bench({Analyzer(0, 3)}));
    const auto client = Connect();
    EXPECT_EQ(client->SelectModule(Bstr("12:34").value), static_cast<HRESULT>(0x800403F2));
    win32::ComPtr<IErrorInfo> info;
    ASSERT_EQ(::GetErrorInfo(0, info.put()), S_OK);
    GUID guid{};
    BSTR description = nullptr, source = nullptr;
    info->GetGUID(&guid);
    info->GetDescription(&description);
    info->GetSource(&source);
    EXPECT_TRUE(::IsEqualGUID(guid, IID_IStratigonApplication));
    EXPECT_EQ(Narrow(description), "No module has the specified Unique ID.");
    EXPECT_EQ(Narrow(source), "Stratigon");
    ::SysFreeString(description);
    ::SysFreeString(source);

    const auto errors = client.As<ISupportErrorInfo>(IID_ISupportErrorInfo);
    ASSERT_TRUE(errors);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IStratigonApplication), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(DIID_DStratigonApplication), S_FALSE);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST_F(AutomationTest, LateBoundCallsFindMembersByNameAndRefuseBadArgumentsBeforeAnyWork)
{
    Open(Bench({Analyzer(0, 3)}));
    const auto client = Connect<IDispatch>(IID_IDispatch);
    UINT types = 99;
    EXPECT_EQ(client->GetTypeInfoCount(&types), S_OK);
    EXPECT_EQ(types, 0u);
    for (const auto& [name, id] : {std::pair{L"showwindow", 1}, {L"GETUNIQUEID", 2}, {L"SaveUpgradeInfoToFile", 5},
                                   {L"Quit", DISPID_UNKNOWN}}) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID found = 0;
        EXPECT_EQ(client->GetIDsOfNames(IID_NULL, names, 1, 0, &found), id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK);
        EXPECT_EQ(found, id) << name;
    }

    struct Case {
        const char* what;
        DISPID id;
        std::vector<VARIANT> arguments;
        WORD flags;
        HRESULT result;
        UINT argumentError;
    };
    constexpr WORD kCall = DISPATCH_METHOD;
    constexpr UINT kUntouched = 0xdeadbeef;
    Case cases[] = {
        {"a number in a text", 1, {Text(L"1")}, kCall, S_OK, kUntouched},
        {"a real number", 1, {Number(VT_R8, 1.0)}, kCall, S_OK, kUntouched},
        {"a number for a text", 2, {Number(VT_I4, 12)}, kCall, Failure(1008), kUntouched},
        {"a word for a number", 1, {Text(L"one")}, kCall, DISP_E_TYPEMISMATCH, 0},
        {"null for a text", 4, {Text(L"05"), Special(VT_NULL)}, kCall, DISP_E_TYPEMISMATCH, 0},
        {"no argument", 2, {}, kCall, DISP_E_PARAMNOTOPTIONAL, kUntouched},
        {"an omitted argument", 3, {Special(VT_ERROR)}, kCall, DISP_E_PARAMNOTOPTIONAL, kUntouched},
        {"one argument too many", 3, {Text(L"a"), Text(L"b")}, kCall, DISP_E_BADPARAMCOUNT, kUntouched},
        {"an assignment", 1, {Number(VT_I4, 1)}, DISPATCH_PROPERTYPUT, DISP_E_MEMBERNOTFOUND, kUntouched},
        {"an unknown member", 9, {}, kCall, DISP_E_MEMBERNOTFOUND, kUntouched},
    };
    for (Case& test : cases) {
        SCOPED_TRACE(test.what);
        const LateCall call = Invoke(client.get(), test.id, std::move(test.arguments), test.flags);
        EXPECT_EQ(call.Outcome(), test.result);
        EXPECT_EQ(call.argumentError, test.argumentError);
    }
    EXPECT_EQ(CommandsSent(), std::vector<std::string>{}) << "InstallUpgrade never ran";
}

TEST_F(AutomationTest, EveryClientSharesOneProxyAndTheDialogClosesOnlyWhenAllHaveGone)
{
    Open(Bench({Analyzer(0, 3)}));
    EXPECT_FALSE(window->IsClientConnected());
    EXPECT_EQ(ClientPaneBluePixels(), 0);
    auto first = Connect();
    auto second = Connect<IDispatch>(IID_IDispatch);
    EXPECT_EQ(first.As<IUnknown>(IID_IUnknown).get(), second.As<IUnknown>(IID_IUnknown).get());
    EXPECT_TRUE(window->IsClientConnected());
    EXPECT_GT(ClientPaneBluePixels(), 10) << "\" Client \" in blue";
    EXPECT_EQ(application.lockCount.load(), 1);

    const std::string refusal = "Cannot close the application.\nThere is a client connecting to it.";
    for (auto release : {std::function<void()>([&] { first.reset(); }), std::function<void()>([] {})}) {
        ::SendMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(::IsWindow(dialog));
        EXPECT_EQ(boxes.messages.back(), refusal);
        release();
    }
    second.reset();
    EXPECT_FALSE(window->IsClientConnected());
    EXPECT_EQ(ClientPaneBluePixels(), 0);
    EXPECT_EQ(application.lockCount.load(), 0);
    ::SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(dialog));
}

TEST_F(AutomationTest, FailedRequestsLeaveNoProxyAndDoNotDisturbAnExistingOne)
{
    win32::ComPtr<IUnknown> none;
    EXPECT_EQ(factory.CreateInstance(nullptr, IID_IDispatch, none.put_void()), E_ACCESSDENIED) << "no main dialog yet";
    Open(Bench({Analyzer(0, 3)}));
    for (bool withClient : {false, true}) {
        SCOPED_TRACE(withClient ? "a client holds the proxy" : "no proxy yet");
        win32::ComPtr<IStratigonApplication> client = withClient ? Connect() : win32::ComPtr<IStratigonApplication>();
        win32::ComPtr<IUnknown> refused;
        IUnknown* outer = &factory;
        EXPECT_EQ(factory.CreateInstance(outer, IID_IUnknown, refused.put_void()), CLASS_E_NOAGGREGATION);
        EXPECT_EQ(factory.CreateInstance(nullptr, IID_IClassFactory, refused.put_void()), E_NOINTERFACE);
        EXPECT_FALSE(refused);
        EXPECT_EQ(window->IsClientConnected(), withClient);
        EXPECT_EQ(application.lockCount.load(), withClient ? 1 : 0);
        if (client) {
            EXPECT_EQ(client->ShowWindow(1), S_OK) << "the existing client still works";
        }
    }
    EXPECT_EQ(application.lockCount.load(), 0);

    // A client that only locks the server does not keep the user from closing.
    win32::ComPtr<IClassFactory> classObject;
    ASSERT_EQ(factory.QueryInterface(IID_IClassFactory, classObject.put_void()), S_OK);
    EXPECT_EQ(classObject->LockServer(TRUE), S_OK);
    EXPECT_EQ(application.lockCount.load(), 1);
    ::SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(classObject->LockServer(FALSE), S_OK);
    EXPECT_EQ(application.lockCount.load(), 0);
}

TEST_F(AutomationTest, AProxyThatOutlivesTheDialogNoLongerReachesIt)
{
    Open(Bench({Analyzer(0, 3)}));
    const auto client = Connect();
    running.reset();
    window.reset();
    EXPECT_EQ(client->SelectModule(Bstr("").value), Failure(1002));
    EXPECT_EQ(client->ShowWindow(1), S_OK) << "with no main window there is nothing to show";
    EXPECT_EQ(application.lockCount.load(), 1);
}

}  // namespace
}  // namespace stratigon::test
