// Where a bench comes from (test options, the environment, or the built-in default) and
// where its state file and trace file go; one place for those rules.
#pragma once

#include "simulator/SimulatorControl.h"

#include <filesystem>
#include <string>

namespace stratigon::sim {

class BenchSource {
public:
    static BenchSource FromOptions(const BenchOptions& options);
    static BenchSource FromEnvironment();

    // How error messages name the bench: its path, or a description of where the text came from.
    const std::string& Origin() const { return origin_; }
    // The bench file text; throws BenchError when the file cannot be read.
    std::string Text() const;
    const std::filesystem::path& StatePath() const { return statePath_; }
    const std::filesystem::path& TracePath() const { return tracePath_; }

private:
    static BenchSource FromFileOrBuiltIn(const std::string& benchPath, const std::string& statePath);
    static std::filesystem::path DefaultBenchStatePath();

    std::string origin_;
    std::string text_;
    std::filesystem::path file_;
    std::filesystem::path statePath_;
    std::filesystem::path tracePath_;
};

}  // namespace stratigon::sim
