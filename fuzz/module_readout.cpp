// The module object reading a module whose instrument answers with arbitrary bytes: identity,
// configuration answers, memory words and error queue entries all come from the input.
//
// Input: the answers one after another, each ended by a backslash and one more character
// (a doubled backslash stands for a backslash of the answer); when the changes of the
// configuration are asked for, their depth and speed follow the readout's answers in the
// same form. The input's last byte says what is done with the module (kReadTwice and the
// others below), so seeds can end in a letter: '@' reads once, 'A' also changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/QuietWorld.h"
#include "fuzz/support/ScriptedVisa.h"
#include "instrument/SharedBuffers.h"
#include "module/CModule.h"
#include "module/ModuleCodes.h"

namespace stratigon::fuzz {
namespace {

constexpr std::uint8_t kChangeConfiguration = 0x01;
constexpr std::uint8_t kReadTwice = 0x02;
constexpr std::uint8_t kClaimFullCount = 0x04;

// What the dialog or the report would read from a depth or speed the user picks.
constexpr std::size_t kLongestChoice = 64;

bool IsOneOf(int code, std::initializer_list<int> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// "13:18:C1:00:30:39": six pairs of upper-case hexadecimal digits.
bool HasUniqueIdForm(const std::string& id)
{
    if (id.size() != 17)
        return false;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const bool separator = i % 3 == 2;
        const char c = id[i];
        if (separator ? c != ':' : !(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

// The texts go to fixed-size fields of the dialog and the report, so none may outgrow the
// buffers they were cut from.
void CheckTexts(const CModule& module)
{
    const std::array texts = {module.GetProductName(), module.GetSerialNumber(), module.GetUniqueId(),
                              module.GetChannels(), module.GetStateSpeed(), module.GetTimingSpeed(),
                              module.GetMemoryDepth(), module.GetFirmwareVersion()};
    for (const std::string& text : texts)
        FUZZ_CHECK(text.size() < kBufferSize);
}

void CheckReadout(const CModule& module, int code)
{
    FUZZ_CHECK(IsOneOf(code, {ModuleCode::Success, ModuleCode::CannotUpgrade, ModuleCode::QueryFailed,
                              ModuleCode::InvalidSerialNumber, ModuleCode::InvalidPatternGeneratorOption,
                              ModuleCode::InvalidFirmwareVersion}));
    CheckTexts(module);
    if (code != ModuleCode::Success)
        return;
    FUZZ_CHECK(module.GetProductType() != ProductType::UnknownProduct);
    FUZZ_CHECK(!module.GetProductName().empty());
    FUZZ_CHECK(!module.GetMemoryDepth().empty());
    FUZZ_CHECK(HasUniqueIdForm(module.GetUniqueId()));
}

// The buffers are shared by the whole program; an input must not see what the last one left.
void ClearSharedBuffers()
{
    std::memset(ResponseBuffer, 0, kBufferSize);
    std::memset(CommandBuffer, 0, kBufferSize);
    std::memset(ScratchBuffer, 0, kBufferSize);
}

}  // namespace
}  // namespace stratigon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace stratigon;
    using namespace stratigon::fuzz;

    ClearSharedBuffers();
    FuzzedDataProvider input(data, size);
    const auto actions = input.ConsumeIntegral<std::uint8_t>();
    ScriptedVisa visa(input);
    visa.claimsFullCount = (actions & kClaimFullCount) != 0;
    ReadingSink sink;
    NoSleeper sleeper;
    NoProgress progress;
    FixedClock clock;
    RepeatableRandom random;
    CModule module(visa.Functions(), sink, sleeper, clock, random);
    FUZZ_CHECK(module.Scan(progress) && module.GetDeviceCount() == 1);

    CheckReadout(module, module.ReadModule(ScriptedVisa::kSession));
    if (actions & kReadTwice)
        CheckReadout(module, module.ReadModule(ScriptedVisa::kSession));
    if (actions & kChangeConfiguration) {
        const std::string depth = input.ConsumeRandomLengthString(kLongestChoice);
        const std::string speed = input.ConsumeRandomLengthString(kLongestChoice);
        const int changed = module.ChangeConfiguration(ScriptedVisa::kSession, depth, speed);
        FUZZ_CHECK(IsOneOf(changed, {ModuleCode::UpdateComplete, ModuleCode::UpdateFailed, ModuleCode::CannotUpgrade}));
        CheckTexts(module);
    }
    return 0;
}
