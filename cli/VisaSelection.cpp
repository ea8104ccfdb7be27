#include "cli/VisaSelection.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#if defined(_WIN32)
#include <windows.h>

#include "win32/AnsiText.h"
#include "win32/ProgramPath.h"
#else
#include "cli/PyvisaSetting.h"
#endif

namespace stratigon::cli {

namespace {

namespace fs = std::filesystem;

#if defined(_WIN32)
// VISA vendors install visa32.dll into the system folder. The normal DLL search would look
// beside the tool first, where the simulated bench may sit, and take it for the PC's library.
std::vector<std::string> InstalledLibraries()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return {win32::AnsiPath(std::wstring(folder) + L"\\" + win32::WideFromAnsi(CVisaLibrary::DefaultName()))};
}

// Beside the tool in the build tree and where the setup's component puts it; in its own
// folder in the zip.
std::vector<std::string> BundledSimulators()
{
    const std::wstring folder = win32::ProgramFolder();
    return {win32::AnsiPath(folder + L"\\visa32.dll"), win32::AnsiPath(folder + L"\\Simulated bench\\visa32.dll")};
}
#else
// pyvisa's setting first, as the lab chose it; then the names and the VXIplug&play folder
// under which vendors install theirs.
std::vector<std::string> InstalledLibraries()
{
    std::vector<std::string> libraries;
    if (const auto configured = PyvisaLibrarySetting())
        libraries.push_back(*configured);
    for (const char* name : {"libvisa.so", "libvisa.so.0", "/usr/local/vxipnp/linux/lib64/libvisa.so"})
        libraries.push_back(name);
    return libraries;
}

// Beside the tool where it ships (build/dist), in the build tree's lib/ beside bin/.
std::vector<std::string> BundledSimulators()
{
    std::error_code ignored;
    const fs::path folder = fs::canonical("/proc/self/exe", ignored).parent_path();
    return {(folder / "libstratigon-visa-sim.so").string(), (folder.parent_path() / "lib" / "libstratigon-visa-sim.so").string()};
}
#endif

bool LoadFirst(CVisaLibrary& library, const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates)
        if (!candidate.empty() && library.Load(candidate))
            return true;
    return false;
}

void SetEnvironment(const char* name, const std::string& value)
{
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

bool LoadVisa(CVisaLibrary& library, const std::string& requested, const std::string& benchFile,
              std::string& notice, std::string& error)
{
    if (!benchFile.empty()) {
        SetEnvironment("STRATIGON_SIM_BENCH", fs::absolute(benchFile).string());
        if (requested.empty() && LoadFirst(library, BundledSimulators()))
            return true;
    }
    if (!requested.empty()) {
        if (library.Load(requested))
            return true;
        error = library.ErrorText();
        return false;
    }
    if (LoadFirst(library, InstalledLibraries()))
        return true;
    if (LoadFirst(library, BundledSimulators())) {
        notice = "No VISA library is installed; using the simulated bench " + library.Name() + ".";
        return true;
    }
    error = "No VISA library is installed, and the simulated bench is not beside the tool.";
    return false;
}

}  // namespace stratigon::cli
