// The names users know the frames by: interface 0 is the mainframe, 1 to 16 the expansion
// frames. Frames beyond those have no name of their own and are shown by number.
#pragma once

#include <string>

namespace stratigon {

constexpr int kNamedFrameCount = 17;

std::string FrameName(int frameIndex);

}  // namespace stratigon
