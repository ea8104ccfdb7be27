// Random values from the operating system's entropy source, so two modules numbered in the
// same second, or in two runs of the program, do not get the same number.
#pragma once

#include <random>

#include "module/IRandomSource.h"

namespace stratigon {

class DeviceRandomSource final : public IRandomSource {
public:
    int Draw() override;

private:
    std::random_device m_device;
    std::uniform_int_distribution<int> m_values{0, kMaxValue};
};

}  // namespace stratigon
