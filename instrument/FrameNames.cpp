#include "instrument/FrameNames.h"

namespace stratigon {

namespace {

constexpr const char* kFrameNames[kNamedFrameCount] = {
    "Mainframe",     "Expansion-1",  "Expansion-2",  "Expansion-3",  "Expansion-4",  "Expansion-5",
    "Expansion-6",   "Expansion-7",  "Expansion-8",  "Expansion-9",  "Expansion-10", "Expansion-11",
    "Expansion-12",  "Expansion-13", "Expansion-14", "Expansion-15", "Expansion-16",
};

}  // namespace

std::string FrameName(int frameIndex)
{
    if (frameIndex >= 0 && frameIndex < kNamedFrameCount)
        return kFrameNames[frameIndex];
    return "Frame-" + std::to_string(frameIndex);
}

}  // namespace stratigon
