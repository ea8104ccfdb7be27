#include "simulator/Instrument.h"

#include "simulator/ArgumentParser.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>

namespace stratigon::sim {
namespace {

constexpr unsigned kAnalyzer = 1U << static_cast<unsigned>(InstrumentKind::Analyzer);
constexpr unsigned kPatternGenerator = 1U << static_cast<unsigned>(InstrumentKind::PatternGenerator);
constexpr unsigned kOther = 1U << static_cast<unsigned>(InstrumentKind::Other);
constexpr unsigned kModules = kAnalyzer | kPatternGenerator;
constexpr unsigned kAll = kModules | kOther;

// The modules' memory options, as "SYST:CONF:OPT" accepts them.
constexpr std::string_view kPatternOptions[] = {"STD", "OPT1M"};

constexpr std::int64_t kSmallestDepth = 32768;
constexpr std::int64_t kLargestDepth = 1073741824;
constexpr std::int64_t kFastestSpeedMhz = 10000;

bool Listed(const std::vector<std::string>& list, std::string_view header, std::string_view text)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const std::string& entry) { return entry == header || entry == text; });
}

std::string HexWord(std::uint64_t value, int digits)
{
    char text[24];
    std::snprintf(text, sizeof text, "#H%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

// Any text atof reads back to the same number; upper-case exponent as instruments print it.
std::string PeriodText(double seconds)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, seconds, std::chars_format::scientific).ptr;
    std::string result(text, end);
    std::replace(result.begin(), result.end(), 'e', 'E');
    return result;
}

bool IsPowerOfTwo(std::int64_t value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

}  // namespace

const Instrument::Command Instrument::kCommands[] = {
    {"*IDN?", kAll, false, &Instrument::Identify},
    {"SYST:ERR?", kAll, false, &Instrument::NextError},
    {"*CLS", kAll, false, &Instrument::ClearStatus},
    {"*RST", kModules, false, &Instrument::Reset},
    {"SYST:PASS:INST:UPD", kModules, true, &Instrument::RecordUpdate},
    {"SYST:PASS:INST:UPD?", kModules, false, &Instrument::ReportUpdate},
    {"PEEKL?", kModules, true, &Instrument::PeekLong},
    {"PEEKW?", kModules, true, &Instrument::PeekWord},
    {"POKEL", kModules, true, &Instrument::PokeLong},
    {"POKEW", kModules, true, &Instrument::PokeWord},
    {"SYST:CONF:WIDT?", kAnalyzer, false, &Instrument::ReportWidth},
    {"SYST:CONF:DEPT?", kAnalyzer, false, &Instrument::ReportDepth},
    {"SYST:CONF:SPE?", kAnalyzer, false, &Instrument::ReportSpeed},
    {"SYST:CONF:TICL:HRES?", kAnalyzer, false, &Instrument::ReportHighResolutionPeriod},
    {"SOUR:CLOC:PER?", kAnalyzer, false, &Instrument::ReportClockPeriod},
    {"SYST:CONF:SPE", kAnalyzer, true, &Instrument::SetSpeed},
    {"SYST:CONF:DEPT", kAnalyzer, true, &Instrument::SetDepth},
    {"SYST:CONF:OPT?", kPatternGenerator, false, &Instrument::ReportPatternOption},
    {"SYST:CONF:OPT", kPatternGenerator, true, &Instrument::SetPatternOption},
};

Instrument::Instrument(ModuleDescription description) : description_(std::move(description))
{
    state_.depth = description_.depth;
    state_.stateSpeedMhz = description_.stateSpeedMhz;
    state_.patternOption = description_.patternOption;
    state_.memory = description_.memory;
}

bool Instrument::WriteFails(std::string_view message) const
{
    return Listed(description_.faults.writeError, ArgumentParser::SplitHeader(message).first,
                  ArgumentParser::Trim(message));
}

bool Instrument::Receive(std::string_view message)
{
    // A new message ends whatever answer was still unread, as on a real bus.
    output_.reset();
    outputFails_ = false;
    const auto text = ArgumentParser::Trim(message);
    if (text.empty()) {
        return false;
    }
    const auto [header, arguments, error] = ArgumentParser::SplitHeader(text);
    if (Listed(description_.faults.refuse, header, text)) {
        errors_.Push(ScpiError::SettingsConflict);
        return false;
    }
    Reply reply;
    if (const auto canned = description_.answers.find(std::string(text)); canned != description_.answers.end()) {
        reply.answer = canned->second;
    } else {
        reply = Dispatch(header, arguments);
    }
    if (reply.answer) {
        QueueAnswer(std::move(*reply.answer), header, text);
    }
    return reply.changed;
}

bool Instrument::Accept(std::string_view bytes, bool end)
{
    input_.append(bytes);
    bool changed = false;
    for (auto lineEnd = input_.find('\n'); lineEnd != std::string::npos; lineEnd = input_.find('\n')) {
        const std::string message = input_.substr(0, lineEnd + 1);
        input_.erase(0, lineEnd + 1);
        changed = Receive(message) || changed;
    }
    if (end && !input_.empty()) {
        changed = Receive(input_) || changed;
        input_.clear();
    }
    return changed;
}

void Instrument::RefuseChange(const ModuleState& kept)
{
    state_ = kept;
    errors_.Push(ScpiError::MassStorageError);
}

void Instrument::Clear()
{
    input_.clear();
    output_.reset();
    outputFails_ = false;
}

ViStatus Instrument::Read(std::size_t maxBytes, std::string& bytes, std::optional<char> termChar)
{
    bytes.clear();
    if (!output_) {
        return VI_ERROR_TMO;
    }
    if (outputFails_) {
        output_.reset();
        return VI_ERROR_IO;
    }
    const std::size_t termination = termChar ? output_->find(*termChar) : std::string::npos;
    const bool endsAtTermChar = termination != std::string::npos && termination < maxBytes;
    const std::size_t count = endsAtTermChar ? termination + 1 : std::min(maxBytes, output_->size());
    bytes.assign(*output_, 0, count);
    output_->erase(0, count);
    if (output_->empty()) {
        output_.reset();
        return VI_SUCCESS;
    }
    return endsAtTermChar ? VI_SUCCESS_TERM_CHAR : VI_SUCCESS_MAX_CNT;
}

Instrument::Reply Instrument::Dispatch(std::string_view header, std::string_view arguments)
{
    const unsigned kind = 1U << static_cast<unsigned>(description_.kind);
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands), [&](const Command& entry) {
        return entry.header == header && (entry.kinds & kind) != 0;
    });
    if (command == std::end(kCommands)) {
        return Fail(ScpiError::UndefinedHeader);
    }
    if (!command->takesArguments && !arguments.empty()) {
        return Fail(ScpiError::ParameterNotAllowed);
    }
    return (this->*(command->handle))(arguments);
}

Instrument::Reply Instrument::Fail(ScpiError error)
{
    errors_.Push(error);
    return {};
}

void Instrument::QueueAnswer(std::string answer, std::string_view header, std::string_view text)
{
    if (Listed(description_.faults.noAnswer, header, text)) {
        return;
    }
    output_ = std::move(answer) + "\n";
    outputFails_ = Listed(description_.faults.readError, header, text);
}

Instrument::Reply Instrument::Identify(std::string_view)
{
    return {description_.idn};
}

Instrument::Reply Instrument::NextError(std::string_view)
{
    return {errors_.PopEntry()};
}

Instrument::Reply Instrument::ClearStatus(std::string_view)
{
    errors_.Clear();
    return {};
}

// Configuration commands only take effect at reset, so a module refusing a later command
// of the same change never runs with half of it.
Instrument::Reply Instrument::Reset(std::string_view)
{
    const bool pending = pendingDepth_ || pendingSpeed_ || pendingOption_;
    state_.depth = pendingDepth_.value_or(state_.depth);
    state_.stateSpeedMhz = pendingSpeed_.value_or(state_.stateSpeedMhz);
    state_.patternOption = pendingOption_.value_or(state_.patternOption);
    pendingDepth_.reset();
    pendingSpeed_.reset();
    pendingOption_.reset();
    return {std::nullopt, pending};
}

Instrument::Reply Instrument::RecordUpdate(std::string_view arguments)
{
    const auto seconds = ArgumentParser::Decimal(arguments);
    if (seconds.error != ScpiError::None) {
        return Fail(seconds.error);
    }
    if (seconds.value < 0) {
        return Fail(ScpiError::DataOutOfRange);
    }
    state_.lastUpdate = seconds.value;
    return {std::nullopt, true};
}

Instrument::Reply Instrument::ReportUpdate(std::string_view)
{
    return {std::to_string(state_.lastUpdate.value_or(0))};
}

Instrument::Reply Instrument::PeekLong(std::string_view arguments)
{
    return Peek(arguments, 8);
}

Instrument::Reply Instrument::PeekWord(std::string_view arguments)
{
    return Peek(arguments, 4);
}

Instrument::Reply Instrument::PokeLong(std::string_view arguments)
{
    return Poke(arguments, 0xFFFFFFFFULL);
}

Instrument::Reply Instrument::PokeWord(std::string_view arguments)
{
    return Poke(arguments, 0xFFFFULL);
}

Instrument::Reply Instrument::Peek(std::string_view arguments, int hexDigits)
{
    const auto address = ArgumentParser::Hex(arguments);
    if (address.error != ScpiError::None) {
        return Fail(address.error);
    }
    if (address.value > 0xFFFFFFFFULL) {
        return Fail(ScpiError::DataOutOfRange);
    }
    const auto word = state_.memory.find(static_cast<std::uint32_t>(address.value));
    const std::uint64_t value = word == state_.memory.end() ? 0 : word->second;
    const std::uint64_t mask = hexDigits == 8 ? 0xFFFFFFFFULL : 0xFFFFULL;
    return {HexWord(value & mask, hexDigits)};
}

Instrument::Reply Instrument::Poke(std::string_view arguments, std::uint64_t widest)
{
    const auto parts = ArgumentParser::SplitAtComma(arguments);
    if (parts.error != ScpiError::None) {
        return Fail(parts.error);
    }
    const auto address = ArgumentParser::Hex(parts.first);
    const auto value = ArgumentParser::Hex(parts.second);
    for (const ScpiError error : {address.error, value.error}) {
        if (error != ScpiError::None) {
            return Fail(error);
        }
    }
    if (address.value > 0xFFFFFFFFULL || value.value > widest) {
        return Fail(ScpiError::DataOutOfRange);
    }
    state_.memory[static_cast<std::uint32_t>(address.value)] = static_cast<std::uint32_t>(value.value);
    return {std::nullopt, true};
}

Instrument::Reply Instrument::ReportWidth(std::string_view)
{
    return {description_.channels};
}

Instrument::Reply Instrument::ReportDepth(std::string_view)
{
    return {std::to_string(state_.depth)};
}

Instrument::Reply Instrument::ReportSpeed(std::string_view)
{
    return {std::to_string(state_.stateSpeedMhz)};
}

Instrument::Reply Instrument::ReportHighResolutionPeriod(std::string_view)
{
    return {std::to_string(description_.hresPeriodPs)};
}

Instrument::Reply Instrument::ReportClockPeriod(std::string_view)
{
    return {PeriodText(description_.asyncPeriodS)};
}

Instrument::Reply Instrument::SetSpeed(std::string_view arguments)
{
    const auto speed = ArgumentParser::Decimal(arguments);
    if (speed.error != ScpiError::None) {
        return Fail(speed.error);
    }
    if (speed.value < 1 || speed.value > kFastestSpeedMhz) {
        return Fail(ScpiError::DataOutOfRange);
    }
    pendingSpeed_ = speed.value;
    return {};
}

Instrument::Reply Instrument::SetDepth(std::string_view arguments)
{
    const auto depth = ArgumentParser::Decimal(arguments);
    if (depth.error != ScpiError::None) {
        return Fail(depth.error);
    }
    if (!IsPowerOfTwo(depth.value) || depth.value < kSmallestDepth || depth.value > kLargestDepth) {
        return Fail(ScpiError::DataOutOfRange);
    }
    pendingDepth_ = depth.value;
    return {};
}

Instrument::Reply Instrument::ReportPatternOption(std::string_view)
{
    return {state_.patternOption};
}

Instrument::Reply Instrument::SetPatternOption(std::string_view arguments)
{
    if (arguments.empty()) {
        return Fail(ScpiError::MissingParameter);
    }
    const auto known = std::find(std::begin(kPatternOptions), std::end(kPatternOptions), arguments);
    if (known == std::end(kPatternOptions)) {
        return Fail(ScpiError::IllegalParameterValue);
    }
    pendingOption_ = std::string(arguments);
    return {};
}

}  // namespace stratigon::sim
