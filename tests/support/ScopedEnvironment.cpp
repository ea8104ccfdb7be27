#include "support/ScopedEnvironment.h"

#include <cstdlib>

namespace stratigon::test {

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name))
{
    if (const char* old = std::getenv(name_.c_str())) {
        previous_ = old;
    }
    Set(name_, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    Set(name_, previous_);
}

// Windows has no unsetenv; an empty value is how its C runtime removes a variable.
void ScopedEnvironment::Set(const std::string& name, const std::optional<std::string>& value)
{
#if defined(_WIN32)
    _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
    if (value) {
        setenv(name.c_str(), value->c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
#endif
}

}  // namespace stratigon::test
