// The program's single module object: the device table of its VISA base, the identity and
// configuration of the module read last, and the sequence that changes a module's configuration.
#pragma once

#include <cstdint>
#include <string>

#include "instrument/CVxiBus.h"
#include "module/DepthTables.h"
#include "module/IClock.h"
#include "module/IRandomSource.h"
#include "module/ProductType.h"

namespace stratigon {

class CModule : public CVxiBus {
public:
    // Module memory that keeps the unique number of a module without serial number.
    static constexpr std::uint32_t kUniqueNumberAddress = 0x5000048;
    static constexpr std::uint32_t kUniqueChecksumAddress = 0x500004C;

    CModule(const VisaFunctions& visa, IMessageSink& messages, ISleeper& sleeper, IClock& clock,
            IRandomSource& random);
    ~CModule() override;

    // Identification and readout; overwrites the record. Returns a ModuleCode.
    int ReadModule(ViSession session);
    void ClearModuleTexts();

    std::string GetProductName() const { return m_productName; }
    std::string GetSerialNumber() const { return m_serialNumber; }
    std::string GetUniqueId() const { return m_uniqueId; }
    std::string GetChannels() const { return m_channels; }
    std::string GetStateSpeed() const { return m_stateSpeed; }
    std::string GetTimingSpeed() const { return m_timingSpeed; }
    std::string GetMemoryDepth() const { return m_memoryDepth; }
    std::string GetFirmwareVersion() const { return m_firmwareVersion; }

    ProductType GetProductType() const { return m_productType; }
    bool IsAnalyzerFamily0() const { return m_productType == ProductType::AnalyzerFamily0; }
    bool IsAnalyzerFamily1() const { return m_productType == ProductType::AnalyzerFamily1; }
    bool IsAnalyzerFamily2() const { return m_productType == ProductType::AnalyzerFamily2; }
    bool IsPatternGenerator() const { return m_productType == ProductType::PatternGenerator; }

    // The parts of the unique ID that are not texts.
    std::uint32_t GetModelCharacters() const { return m_modelCharacters; }
    std::uint32_t GetPrefixCode() const { return m_prefixCode; }
    std::uint32_t GetUnitNumber() const { return m_unitNumber; }

    // Sends the new depth and speed (an empty text keeps the value), stamps and resets the
    // module, and reads it back. The record must hold the module behind `session`.
    int ChangeConfiguration(ViSession session, const std::string& depth, const std::string& speed);

    // The steps of the readout and the change, each usable on its own.
    int ParseIdentity(const char* answer);
    void EncodeModelCharacters(const std::string& productName);
    bool ParseSerialNumber(const std::string& serial);
    int ReadAnalyzerConfiguration(ViSession session);
    int ReadPatternGeneratorConfiguration(ViSession session);
    bool MatchDepthCount(const char* answer, const DepthRow* table);
    bool ReadUniqueNumber(ViSession session);
    std::uint32_t MakeRandomNumber();
    void FormatUniqueId();
    std::string DepthNameToCount(const std::string& name, const DepthRow* table);

    static std::string FormatScaled(std::int64_t value);
    static std::uint32_t ParseHexResponse(const char* text);
    static std::uint16_t NumberChecksum(std::uint32_t number);

private:
    bool FindProductPrefix(const char* answer, const char*& productStart);
    bool ReadFirmwareVersion(const char* answer);
    bool QueryConfiguration(ViSession session, const char* query);
    bool ReadHighResolutionRate(ViSession session);
    bool ReadAsynchronousRate(ViSession session);
    bool QueryWord(ViSession session, const char* query, std::uint32_t address, std::uint32_t& value);
    bool StoreUniqueNumber(ViSession session, std::uint32_t number);
    int SendAnalyzerSettings(ViSession session, const std::string& depth, const std::string& speed);
    int SendPatternGeneratorOption(ViSession session, const std::string& depth);
    // Sends the header and the depth's long form; a refusal is reported with the depth name.
    int SendDepthCommand(ViSession session, const char* header, const std::string& value, const std::string& depth);
    int StampAndReset(ViSession session);
    void ShowScratch(const char* format, const std::string& argument);

    IClock& m_clock;
    IRandomSource& m_random;

    std::string m_productName;
    std::string m_serialNumber;
    std::string m_uniqueId;
    std::string m_channels;
    std::string m_stateSpeed;
    std::string m_timingSpeed;
    std::string m_memoryDepth;
    std::string m_firmwareVersion;
    ProductType m_productType = ProductType::UnknownProduct;
    std::uint32_t m_modelCharacters = 0;  // 21 bits: three characters of 7 bits
    std::uint32_t m_prefixCode = 0;
    std::uint32_t m_unitNumber = 0;
};

}  // namespace stratigon
