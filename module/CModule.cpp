#include "module/CModule.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "instrument/SharedBuffers.h"
#include "module/ModuleCodes.h"
#include "module/ProductPrefixes.h"

namespace stratigon {

namespace {

constexpr char kIdentityQuery[] = "*IDN?";
constexpr char kWidthQuery[] = "SYST:CONF:WIDT?";
constexpr char kDepthQuery[] = "SYST:CONF:DEPT?";
constexpr char kSpeedQuery[] = "SYST:CONF:SPE?";
constexpr char kHighResolutionQuery[] = "SYST:CONF:TICL:HRES?";
constexpr char kAsynchronousPeriodQuery[] = "SOUR:CLOC:PER?";
constexpr char kOptionQuery[] = "SYST:CONF:OPT?";
constexpr char kPeekLong[] = "PEEKL?";
constexpr char kPeekWord[] = "PEEKW?";
constexpr char kPokeLong[] = "POKEL";
constexpr char kPokeWord[] = "POKEW";
constexpr char kClearStatus[] = "*CLS";
constexpr char kReset[] = "*RST";
constexpr char kSpeedCommand[] = "SYST:CONF:SPE";
constexpr char kDepthCommand[] = "SYST:CONF:DEPT";
constexpr char kOptionCommand[] = "SYST:CONF:OPT";
constexpr char kUpdateStamp[] = "SYST:PASS:INST:UPD";

constexpr char kPatternGeneratorFirmwareTag[] = "FW:";
constexpr char kAnalyzerFirmwareTag[] = "FVER:";
constexpr char kPatternGeneratorSpeed[] = "134 MHz";
constexpr char kNoSerialNumber[] = "Unknown";
constexpr std::uint32_t kNoSerialPrefixCode = 15;

constexpr char kClearFailedText[] = "Error: Upgrade failed!";
constexpr char kSpeedFailedFormat[] = "Error: Unable to upgrade the speed to %s MHz.\nUpgrade failed.";
constexpr char kDepthFailedFormat[] = "Error: Unable to change the memory depth to %s.\nUpgrade failed.";
constexpr char kResetFailedText[] = "Error: Unable to reset the module.\nUpgrade failed.";
constexpr char kUnknownPatternOptionText[] = "Error: Unknown Pattern Generator option.\nUpgrade failed.";
constexpr char kInvalidDepthFormat[] = "Error: Invalid Memory Depth: %s";

constexpr double kPicosecondsPerSecond = 1e12;
// Periods the 64-bit picosecond count cannot hold are no period a module could have.
constexpr double kLongestPeriodPs = 9.2e18;
constexpr char kScaleLetters[] = "KMGT";
constexpr int kAnswerRoomBeforeUnit = static_cast<int>(kBufferSize) - 5;

// Copies [begin, end) into ScratchBuffer, cut to what the buffer holds.
std::string CopyField(const char* begin, const char* end)
{
    const auto length = std::min(static_cast<std::size_t>(end - begin), kBufferSize - 1);
    std::memcpy(ScratchBuffer, begin, length);
    ScratchBuffer[length] = '\0';
    return ScratchBuffer;
}

const char* FieldEnd(const char* begin, char delimiter)
{
    const char* end = std::strchr(begin, delimiter);
    return end != nullptr ? end : begin + std::strlen(begin);
}

// The fields of a depth row are NUL-padded but need not end in a NUL when full.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N])
{
    return std::string_view(field, static_cast<std::size_t>(std::find(field, field + N, '\0') - field));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c)
{
    if (IsDecimalDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

const SerialPrefixRow* FindSerialPrefix(char letter)
{
    for (const SerialPrefixRow& row : SerialPrefixTable) {
        if (row.letter == letter)
            return &row;
    }
    return nullptr;
}

// Seven bits of the character at `index`; the name's end (or a comma) counts as a blank.
std::uint32_t ModelCharacter(const std::string& name, std::size_t index)
{
    if (index >= name.size() || name[index] == ',')
        return ' ';
    return static_cast<unsigned char>(name[index]) & 0x7Fu;
}

// "200 MHz" and "200MHz" both become the number the module expects.
std::string SpeedNumber(const std::string& speed)
{
    std::string number = speed;
    std::erase(number, ' ');
    for (std::size_t unit = number.find("MHz"); unit != std::string::npos; unit = number.find("MHz"))
        number.erase(unit, 3);
    return number;
}

}  // namespace

CModule::CModule(const VisaFunctions& visa, IMessageSink& messages, ISleeper& sleeper, IClock& clock,
                 IRandomSource& random)
    : CVxiBus(visa, messages, sleeper), m_clock(clock), m_random(random)
{
}

CModule::~CModule() = default;

void CModule::ClearModuleTexts()
{
    for (std::string* text : {&m_productName, &m_serialNumber, &m_uniqueId, &m_channels, &m_stateSpeed,
                              &m_timingSpeed, &m_memoryDepth, &m_firmwareVersion})
        text->clear();
}

int CModule::ReadModule(ViSession session)
{
    ClearModuleTexts();
    if (GetDeviceCount() == 0)
        return ModuleCode::NoModule;
    if (Query(session, kIdentityQuery, ResponseBuffer, ReportFailures) != 1)
        return ModuleCode::QueryFailed;
    const int identified = ParseIdentity(ResponseBuffer);
    if (identified != ModuleCode::Success)
        return identified;

    int readout = ModuleCode::CannotUpgrade;
    if (IsPatternGenerator())
        readout = ReadPatternGeneratorConfiguration(session);
    else if (IsAnalyzerFamily0() || IsAnalyzerFamily1() || IsAnalyzerFamily2())
        readout = ReadAnalyzerConfiguration(session);
    if (readout != ModuleCode::Success)
        return readout;

    // A serial number of zeros marks a module that carries its own number in its memory.
    if (m_unitNumber == 0 && IsAnalyzerFamily1() && !ReadUniqueNumber(session))
        return ModuleCode::QueryFailed;
    FormatUniqueId();
    return ModuleCode::Success;
}

int CModule::ParseIdentity(const char* answer)
{
    const char* productStart = nullptr;
    if (!FindProductPrefix(answer, productStart)) {
        m_productType = ProductType::UnknownProduct;
        return ModuleCode::CannotUpgrade;
    }
    const char* productEnd = FieldEnd(productStart, ',');
    m_productName = CopyField(productStart, productEnd);
    EncodeModelCharacters(m_productName);

    m_serialNumber.clear();
    if (*productEnd == ',') {
        const char* serialStart = productEnd + 1;
        m_serialNumber = CopyField(serialStart, FieldEnd(serialStart, ','));
    }
    if (!ParseSerialNumber(m_serialNumber))
        return ModuleCode::InvalidSerialNumber;
    if (!ReadFirmwareVersion(answer))
        return ModuleCode::InvalidFirmwareVersion;
    return ModuleCode::Success;
}

bool CModule::FindProductPrefix(const char* answer, const char*& productStart)
{
    for (const ProductPrefixList& list : ProductPrefixLists) {
        for (const char* const* prefix = list.prefixes; **prefix != '\0'; ++prefix) {
            productStart = std::strstr(answer, *prefix);
            if (productStart != nullptr) {
                m_productType = list.type;
                return true;
            }
        }
    }
    return false;
}

bool CModule::ReadFirmwareVersion(const char* answer)
{
    const char* tag = IsPatternGenerator() ? kPatternGeneratorFirmwareTag : kAnalyzerFirmwareTag;
    const char* found = std::strstr(answer, tag);
    if (found == nullptr)
        return false;
    const char* versionStart = found + std::strlen(tag);
    m_firmwareVersion = CopyField(versionStart, FieldEnd(versionStart, ' '));
    return true;
}

void CModule::EncodeModelCharacters(const std::string& productName)
{
    // The fifth to seventh characters tell the models of one product family apart.
    m_modelCharacters =
        (ModelCharacter(productName, 4) << 14) | (ModelCharacter(productName, 5) << 7) | ModelCharacter(productName, 6);
}

bool CModule::ParseSerialNumber(const std::string& serial)
{
    const SerialPrefixRow* row = serial.empty() ? nullptr : FindSerialPrefix(serial[0]);
    if (row == nullptr)
        return false;
    m_prefixCode = row->code;

    const std::string_view digits = std::string_view(serial).substr(1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDecimalDigit))
        return false;
    const bool paddedWithZero = digits.size() == 7 && digits[0] == '0';
    if (digits.size() != 6 && !paddedWithZero)
        return false;

    std::uint32_t unit = 0;
    for (const char digit : digits)
        unit = unit * 10 + static_cast<std::uint32_t>(digit - '0');
    if (paddedWithZero)
        m_serialNumber = serial.substr(0, 1) + serial.substr(2);
    m_unitNumber = unit;
    return true;
}

bool CModule::QueryConfiguration(ViSession session, const char* query)
{
    return Query(session, query, ResponseBuffer, ReportFailures) == 1;
}

int CModule::ReadAnalyzerConfiguration(ViSession session)
{
    if (!QueryConfiguration(session, kWidthQuery))
        return ModuleCode::QueryFailed;
    m_channels = ResponseBuffer;
    if (!QueryConfiguration(session, kDepthQuery) || !MatchDepthCount(ResponseBuffer, AnalyzerDepthTable))
        return ModuleCode::QueryFailed;
    if (!QueryConfiguration(session, kSpeedQuery))
        return ModuleCode::QueryFailed;
    // Room for the unit is kept, so an overlong answer loses its end rather than the unit.
    std::snprintf(ScratchBuffer, kBufferSize, "%.*s MHz", kAnswerRoomBeforeUnit, ResponseBuffer);
    m_stateSpeed = ScratchBuffer;
    if (!ReadHighResolutionRate(session) || !ReadAsynchronousRate(session))
        return ModuleCode::QueryFailed;
    return ModuleCode::Success;
}

bool CModule::ReadHighResolutionRate(ViSession session)
{
    if (!QueryConfiguration(session, kHighResolutionQuery))
        return false;
    // Leading digits only, as atol reads them; strtoll also stays defined for huge answers.
    const long long periodPs = std::strtoll(ResponseBuffer, nullptr, 10);
    if (periodPs == 0)
        return false;
    const auto rate = static_cast<std::int64_t>(kPicosecondsPerSecond / static_cast<double>(periodPs));
    m_timingSpeed = FormatScaled(rate) + "Hz / ";
    return true;
}

bool CModule::ReadAsynchronousRate(ViSession session)
{
    if (!QueryConfiguration(session, kAsynchronousPeriodQuery))
        return false;
    const double picoseconds = std::trunc(std::strtod(ResponseBuffer, nullptr) * kPicosecondsPerSecond);
    // Below one picosecond the period truncates to 0 and has no rate; NaN fails this test too.
    if (!(std::fabs(picoseconds) >= 1.0 && std::fabs(picoseconds) < kLongestPeriodPs))
        return false;
    const auto periodPs = static_cast<std::int64_t>(picoseconds);
    const auto rate = static_cast<std::int64_t>(kPicosecondsPerSecond / static_cast<double>(periodPs));
    m_timingSpeed += FormatScaled(rate) + "Hz";
    return true;
}

int CModule::ReadPatternGeneratorConfiguration(ViSession session)
{
    if (!QueryConfiguration(session, kOptionQuery))
        return ModuleCode::QueryFailed;
    if (!MatchDepthCount(ResponseBuffer, PatternGeneratorDepthTable))
        return ModuleCode::InvalidPatternGeneratorOption;
    m_stateSpeed = kPatternGeneratorSpeed;
    return ModuleCode::Success;
}

bool CModule::MatchDepthCount(const char* answer, const DepthRow* table)
{
    // Only the long form's length is compared: a module may add text after the count.
    const std::string_view reported(answer);
    for (const DepthRow* row = table; row->name[0] != '\0'; ++row) {
        if (reported.starts_with(FieldText(row->longForm))) {
            m_memoryDepth = FieldText(row->name);
            return true;
        }
    }
    m_memoryDepth.clear();
    return false;
}

std::string CModule::FormatScaled(std::int64_t value)
{
    std::size_t scale = 0;
    while (value >= 1000 && value % 1000 == 0) {
        value /= 1000;
        ++scale;
    }
    std::string text = std::to_string(value) + ' ';
    if (scale >= 1 && scale <= std::strlen(kScaleLetters))
        text += kScaleLetters[scale - 1];
    return text;
}

bool CModule::ReadUniqueNumber(ViSession session)
{
    m_prefixCode = kNoSerialPrefixCode;
    m_serialNumber = kNoSerialNumber;
    std::uint32_t number = 0;
    std::uint32_t checksum = 0;
    if (!QueryWord(session, kPeekLong, kUniqueNumberAddress, number) ||
        !QueryWord(session, kPeekWord, kUniqueChecksumAddress, checksum))
        return false;
    // A module that never had a number, or whose memory was lost, gets a new one for good.
    if ((checksum & 0xFFFFu) != NumberChecksum(number)) {
        number = MakeRandomNumber();
        if (!StoreUniqueNumber(session, number))
            return false;
    }
    m_unitNumber = number;
    return true;
}

bool CModule::QueryWord(ViSession session, const char* query, std::uint32_t address, std::uint32_t& value)
{
    std::snprintf(CommandBuffer, kBufferSize, "%s #H%x", query, static_cast<unsigned>(address));
    if (Query(session, CommandBuffer, ResponseBuffer, Silent) != 1)
        return false;
    // The value follows a two-character radix mark.
    const std::size_t skipped = std::min<std::size_t>(std::strlen(ResponseBuffer), 2);
    value = ParseHexResponse(ResponseBuffer + skipped);
    return true;
}

bool CModule::StoreUniqueNumber(ViSession session, std::uint32_t number)
{
    std::snprintf(CommandBuffer, kBufferSize, "%s #H%x, #H%x", kPokeLong, static_cast<unsigned>(kUniqueNumberAddress),
                  static_cast<unsigned>(number));
    if (SendCommand(session, CommandBuffer, Silent) != 1)
        return false;
    std::snprintf(CommandBuffer, kBufferSize, "%s #H%x, #H%x", kPokeWord,
                  static_cast<unsigned>(kUniqueChecksumAddress), static_cast<unsigned>(NumberChecksum(number)));
    return SendCommand(session, CommandBuffer, Silent) == 1;
}

std::uint32_t CModule::ParseHexResponse(const char* text)
{
    std::uint32_t value = 0;
    // A blank, like anything else that is no hexadecimal digit, ends the number.
    for (int digit = HexDigitValue(*text); digit >= 0; digit = HexDigitValue(*++text))
        value = value * 16 + static_cast<std::uint32_t>(digit);
    return value;
}

std::uint16_t CModule::NumberChecksum(std::uint32_t number)
{
    const std::uint32_t sum = (number & 0xFF) + ((number >> 8) & 0xFF) + ((number >> 16) & 0xFF) + (number >> 24) + 6;
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::uint32_t CModule::MakeRandomNumber()
{
    const auto a = static_cast<std::uint32_t>(m_random.Draw());
    const auto b = static_cast<std::uint32_t>(m_random.Draw());
    // Bits 0-7 from a, bits 8-19 from b: the unique ID has room for 20 bits of unit number.
    return ((b & 0x7FF8u) << 5) | ((a >> 3) & 0xFFu);
}

void CModule::FormatUniqueId()
{
    const std::uint32_t type = static_cast<std::uint32_t>(m_productType) & 7u;
    const std::uint32_t high = (type << 21) | (m_modelCharacters & 0x1FFFFFu);
    const std::uint32_t low = ((m_prefixCode & 0xFu) << 20) | (m_unitNumber & 0xFFFFFu);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06X%06X", static_cast<unsigned>(high), static_cast<unsigned>(low));
    std::string id(digits, 2);
    for (std::size_t pair = 2; pair < 12; pair += 2)
        id.append(":").append(digits + pair, 2);
    m_uniqueId = id;
}

int CModule::ChangeConfiguration(ViSession session, const std::string& depth, const std::string& speed)
{
    if (m_productType == ProductType::UnknownProduct)
        return ModuleCode::CannotUpgrade;
    if (SendCommand(session, kClearStatus, ReportFailures) != 1) {
        Messages().ShowMessage(kClearFailedText);
        return ModuleCode::UpdateFailed;
    }
    const int sent = IsPatternGenerator() ? SendPatternGeneratorOption(session, depth)
                                          : SendAnalyzerSettings(session, depth, speed);
    if (sent != ModuleCode::Success)
        return sent;
    return StampAndReset(session);
}

int CModule::SendAnalyzerSettings(ViSession session, const std::string& depth, const std::string& speed)
{
    if (!speed.empty()) {
        const std::string megahertz = SpeedNumber(speed);
        std::snprintf(CommandBuffer, kBufferSize, "%s %s", kSpeedCommand, megahertz.c_str());
        if (SendCommand(session, CommandBuffer, ReportFailures) != 1) {
            ShowScratch(kSpeedFailedFormat, megahertz);
            return ModuleCode::UpdateFailed;
        }
    }
    if (depth.empty())
        return ModuleCode::Success;
    // An unknown name has been reported already. A depth command without a value would leave
    // the outcome to whatever the module makes of it, so the change ends here.
    const std::string samples = DepthNameToCount(depth, AnalyzerDepthTable);
    if (samples.empty())
        return ModuleCode::UpdateFailed;
    return SendDepthCommand(session, kDepthCommand, samples, depth);
}

int CModule::SendPatternGeneratorOption(ViSession session, const std::string& depth)
{
    // A pattern generator runs at its one speed; only its memory option changes.
    if (depth.empty())
        return ModuleCode::Success;
    // The name that is in neither row has been reported as a depth; that no option follows
    // from it is said as well.
    const std::string option = DepthNameToCount(depth, PatternGeneratorDepthTable);
    if (option.empty()) {
        Messages().ShowMessage(kUnknownPatternOptionText);
        return ModuleCode::UpdateFailed;
    }
    return SendDepthCommand(session, kOptionCommand, option, depth);
}

int CModule::SendDepthCommand(ViSession session, const char* header, const std::string& value,
                              const std::string& depth)
{
    std::snprintf(CommandBuffer, kBufferSize, "%s %s", header, value.c_str());
    if (SendCommand(session, CommandBuffer, ReportFailures) == 1)
        return ModuleCode::Success;
    ShowScratch(kDepthFailedFormat, depth);
    return ModuleCode::UpdateFailed;
}

int CModule::StampAndReset(ViSession session)
{
    std::snprintf(CommandBuffer, kBufferSize, "%s %lld", kUpdateStamp,
                  static_cast<long long>(m_clock.SecondsSince1970()));
    if (SendCommand(session, CommandBuffer, ReportFailures) != 1)
        return ModuleCode::UpdateFailed;
    // A module that was not reset still runs its old configuration: nothing was installed.
    if (SendCommand(session, kReset, ReportFailures) != 1) {
        Messages().ShowMessage(kResetFailedText);
        return ModuleCode::UpdateFailed;
    }
    // The record now shows what the module reports; a failed read-back is seen there.
    ReadModule(session);
    return ModuleCode::UpdateComplete;
}

std::string CModule::DepthNameToCount(const std::string& name, const DepthRow* table)
{
    for (const DepthRow* row = table; row->name[0] != '\0'; ++row) {
        if (EqualIgnoringCase(FieldText(row->name), name))
            return std::string(FieldText(row->longForm));
    }
    ShowScratch(kInvalidDepthFormat, name);
    return {};
}

void CModule::ShowScratch(const char* format, const std::string& argument)
{
    std::snprintf(ScratchBuffer, kBufferSize, format, argument.c_str());
    Messages().ShowMessage(ScratchBuffer);
}

}  // namespace stratigon
