// Sets an environment variable for the length of a test and puts back what was there, so
// tests of the environment-driven bench leave the process as they found it.
#pragma once

#include <optional>
#include <string>

namespace stratigon::test {

class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static void Set(const std::string& name, const std::optional<std::string>& value);

    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace stratigon::test
