#include "module/DeviceRandomSource.h"

namespace stratigon {

// MinGW-w64's std::random_device reads rand_s (the system's cryptographic generator) since
// GCC 9.2; older ones returned a fixed sequence, which a test guards against.
int DeviceRandomSource::Draw() { return m_values(m_device); }

}  // namespace stratigon
