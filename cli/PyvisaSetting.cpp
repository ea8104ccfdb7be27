#include "cli/PyvisaSetting.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

#include "catalogue/CatalogueText.h"

namespace stratigon::cli {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// pyvisa's form is "library@backend"; only its "ivi" backend loads a library file.
std::optional<std::string> LibraryOf(const std::string& setting)
{
    const std::size_t at = setting.rfind('@');
    const std::string library = setting.substr(0, at);
    if (library.empty() || (at != std::string::npos && setting.substr(at + 1) != "ivi"))
        return std::nullopt;
    return library;
}

// The "visa library" option of the [Paths] section; option names ignore case, as Python's
// configuration files do, and take "=" or ":".
std::optional<std::string> ConfiguredLibrary(const std::string& path)
{
    std::ifstream file(path);
    std::string line;
    bool inPaths = false;
    while (std::getline(file, line)) {
        const std::string text = Trimmed(line);
        if (!text.empty() && text.front() == '[') {
            inPaths = text == "[Paths]";
            continue;
        }
        const std::size_t separator = text.find_first_of("=:");
        if (inPaths && separator != std::string::npos && EqualsIgnoringCase(Trimmed(text.substr(0, separator)), "visa library"))
            return LibraryOf(Trimmed(text.substr(separator + 1)));
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> PyvisaLibrarySetting()
{
    if (const char* setting = std::getenv("PYVISA_LIBRARY"); setting != nullptr && *setting != '\0')
        return LibraryOf(setting);
    const char* home = std::getenv("HOME");
    return home == nullptr ? std::nullopt : ConfiguredLibrary(std::string(home) + "/.pyvisarc");
}

}  // namespace stratigon::cli
