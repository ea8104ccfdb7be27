// Where the unique number of a module without serial number comes from. It must differ
// between modules numbered at the same moment, so it is not a time-seeded generator.
#pragma once

namespace stratigon {

class IRandomSource {
public:
    static constexpr int kMaxValue = 32767;

    virtual ~IRandomSource() = default;
    // A value from 0 to kMaxValue.
    virtual int Draw() = 0;
};

}  // namespace stratigon
