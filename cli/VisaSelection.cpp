#include "cli/VisaSelection.h"

#include <cstdlib>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>

#include "win32/AnsiText.h"
#include "win32/ProgramPath.h"
#endif

namespace stratigon::cli {

namespace {

namespace fs = std::filesystem;

std::string BundledSimulator()
{
#if defined(_WIN32)
    return win32::AnsiPath(win32::ProgramFolder() + L"\\visa32.dll");
#else
    // Beside the tool where it ships (build/dist), in the build tree's lib/ beside bin/.
    std::error_code ignored;
    const fs::path folder = fs::canonical("/proc/self/exe", ignored).parent_path();
    if (fs::exists(folder / "libstratigon-visa-sim.so", ignored))
        return (folder / "libstratigon-visa-sim.so").string();
    return (folder.parent_path() / "lib" / "libstratigon-visa-sim.so").string();
#endif
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
        if (requested.empty() && library.Load(BundledSimulator()))
            return true;
    }
    if (!requested.empty()) {
        if (library.Load(requested))
            return true;
        error = library.ErrorText();
        return false;
    }
    if (library.LoadDefault())
        return true;
    const std::string systemError = library.ErrorText();
    if (library.Load(BundledSimulator())) {
        notice = "No VISA library is installed; using the simulated bench.";
        return true;
    }
    error = systemError;
    return false;
}

}  // namespace stratigon::cli
