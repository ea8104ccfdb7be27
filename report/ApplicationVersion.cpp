#include "report/ApplicationVersion.h"

namespace stratigon {

namespace {

// The System subfolder holds the copy the instrument software runs; older installations
// have only the one in the install folder.
constexpr const char* kAnalyzerCandidates[] = {
    "C:\\Program Files\\Quorvalis\\KVX\\System\\KVX.exe",
    "C:\\Program Files\\Quorvalis\\KVX\\KVX.exe",
};
constexpr const char* kPatternGeneratorCandidates[] = {
    "C:\\Program Files\\Quorvalis\\KVXPG\\System\\KVXPG.exe",
    "C:\\Program Files\\Quorvalis\\KVXPG\\KVXPG.exe",
};

}  // namespace

std::span<const char* const> ApplicationCandidates(bool patternGenerator)
{
    if (patternGenerator)
        return kPatternGeneratorCandidates;
    return kAnalyzerCandidates;
}

std::string ApplicationVersionText(bool patternGenerator, IVersionResources& resources)
{
    for (const char* candidate : ApplicationCandidates(patternGenerator)) {
        if (resources.VersionInfoSize(candidate) == 0)
            continue;
        const auto version = resources.QueryValue(candidate, kProductVersionBlock);
        return version && !version->empty() ? *version : std::string(kUnknownVersion);
    }
    return kUnknownVersion;
}

}  // namespace stratigon
