#include "simulator/BenchSource.h"

#include "simulator/BenchError.h"
#include "simulator/DefaultBench.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace stratigon::sim {
namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path WithSuffix(const std::string& path, const char* suffix)
{
    return std::filesystem::path(path + suffix);
}

}  // namespace

BenchSource BenchSource::FromOptions(const BenchOptions& options)
{
    BenchSource source;
    if (options.benchText.empty()) {
        source = FromFileOrBuiltIn(options.benchPath, options.statePath);
    } else {
        source.text_ = options.benchText;
        source.origin_ = options.benchPath.empty() ? "(inline bench text)" : options.benchPath;
        if (!options.statePath.empty()) {
            source.statePath_ = options.statePath;
        } else if (!options.benchPath.empty()) {
            source.statePath_ = WithSuffix(options.benchPath, ".state.json");
        }
    }
    source.tracePath_ = options.tracePath;
    return source;
}

BenchSource BenchSource::FromEnvironment()
{
    BenchSource source = FromFileOrBuiltIn(Environment("STRATIGON_SIM_BENCH"), Environment("STRATIGON_SIM_STATE"));
    source.tracePath_ = Environment("STRATIGON_SIM_TRACE");
    return source;
}

BenchSource BenchSource::FromFileOrBuiltIn(const std::string& benchPath, const std::string& statePath)
{
    BenchSource source;
    if (benchPath.empty()) {
        source.text_ = DefaultBench::Text();
        source.origin_ = "(built-in default bench)";
        source.statePath_ = statePath.empty() ? DefaultBenchStatePath() : std::filesystem::path(statePath);
        return source;
    }
    source.file_ = benchPath;
    source.origin_ = benchPath;
    source.statePath_ = statePath.empty() ? WithSuffix(benchPath, ".state.json") : std::filesystem::path(statePath);
    return source;
}

// Without a temp folder the default bench still works, it just forgets its changes.
std::filesystem::path BenchSource::DefaultBenchStatePath()
{
    std::error_code error;
    const auto folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path() : folder / "stratigon-default-bench.state.json";
}

std::string BenchSource::Text() const
{
    if (file_.empty()) {
        return text_;
    }
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) {
        throw BenchError("the file does not exist");
    }
    if (std::filesystem::is_directory(file_, error)) {
        throw BenchError("this is a folder, not a bench file");
    }
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in || in.bad()) {
        throw BenchError("the file cannot be read");
    }
    return text.str();
}

}  // namespace stratigon::sim
