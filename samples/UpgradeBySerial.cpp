// Upgrades a module of the running KVX Stratigon Utility, found by its serial number, through
// the dual interface: makes it the selected module, installs one upgrade kit option on it and
// writes its upgrade information file. Starts the utility when it is not running.
//
//   UpgradeBySerial SERIAL OPTION [REPORT]
//
// Build it with the header and identifiers that come with the utility (Stratigon.h and
// Stratigon_i.c) and link ole32, oleaut32 and uuid.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "Stratigon.h"

namespace {

// A BSTR that is freed when it goes.
class Text {
public:
    explicit Text(const char* text = "")
    {
        const int size = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        std::wstring wide(size, L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
        m_value = ::SysAllocString(wide.c_str());
    }
    ~Text() { ::SysFreeString(m_value); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    BSTR get() const { return m_value; }
    BSTR* put()
    {
        ::SysFreeString(m_value);
        m_value = nullptr;
        return &m_value;
    }
    std::string ansi() const
    {
        char text[256] = {};
        ::WideCharToMultiByte(CP_ACP, 0, m_value ? m_value : L"", -1, text, sizeof text, nullptr, nullptr);
        return text;
    }

private:
    BSTR m_value = nullptr;
};

// The utility's description of a failure, where the thread's error information carries it.
std::string Describe(HRESULT result)
{
    char text[300];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) == S_OK) {
        Text description;
        info->GetDescription(description.put());
        info->Release();
        return std::string(text) + " " + description.ansi();
    }
    return text;
}

bool Succeeded(const char* method, HRESULT result)
{
    if (SUCCEEDED(result))
        return true;
    std::printf("%s failed: %s\n", method, Describe(result).c_str());
    return false;
}

int Upgrade(IStratigonApplication* stratigon, const char* serial, const char* option, const char* report)
{
    Text uniqueId;
    if (!Succeeded("GetUniqueID", stratigon->GetUniqueID(Text(serial).get(), uniqueId.put())))
        return 1;
    std::printf("Module %s has the unique ID %s\n", serial, uniqueId.ansi().c_str());
    if (!Succeeded("SelectModule", stratigon->SelectModule(uniqueId.get())))
        return 1;
    if (!Succeeded("InstallUpgrade", stratigon->InstallUpgrade(Text(option).get(), uniqueId.get())))
        return 1;
    std::printf("Installed %s\n", option);
    if (!Succeeded("SaveUpgradeInfoToFile", stratigon->SaveUpgradeInfoToFile(Text(report).get(), uniqueId.get(), Text().get())))
        return 1;
    std::printf("Wrote the upgrade information file\n");
    return Succeeded("ShowWindow", stratigon->ShowWindow(1)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::printf("Usage: UpgradeBySerial SERIAL OPTION [REPORT]\n");
        return 2;
    }
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int status = 1;
    IStratigonApplication* stratigon = nullptr;
    const HRESULT created = ::CoCreateInstance(CLSID_StratigonApplication, nullptr, CLSCTX_LOCAL_SERVER,
                                               IID_IStratigonApplication, reinterpret_cast<void**>(&stratigon));
    if (Succeeded("CoCreateInstance", created)) {
        status = Upgrade(stratigon, argv[1], argv[2], argc > 3 ? argv[3] : "");
        stratigon->Release();
    }
    std::fflush(stdout);
    ::CoUninitialize();
    return status;
}
