// A bench file that cannot be used; the text says why in words a test author can act on
// (which file, which field, what was wrong).
#pragma once

#include <stdexcept>
#include <string>

namespace stratigon::sim {

class BenchError : public std::runtime_error {
public:
    explicit BenchError(const std::string& reason) : std::runtime_error(reason) {}
};

}  // namespace stratigon::sim
