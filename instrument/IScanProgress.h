// The progress display of the instrument scan: told how many resources have been visited
// after each one (the scanning dialog in the application).
#pragma once

namespace stratigon {

class IScanProgress {
public:
    virtual ~IScanProgress() = default;
    virtual void SetDeviceCount(int count) = 0;
};

}  // namespace stratigon
