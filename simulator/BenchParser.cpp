#include "simulator/BenchParser.h"

#include "simulator/BenchError.h"
#include "simulator/MemoryAddress.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <string>

namespace stratigon::sim {
namespace {

using nlohmann::json;
using Path = std::string;

[[noreturn]] void Fail(const Path& path, const std::string& problem)
{
    throw BenchError(path + " " + problem);
}

std::int64_t ReadInteger(const json& value, const Path& path, std::int64_t low, std::int64_t high)
{
    if (!value.is_number_integer()) {
        Fail(path, "must be an integer");
    }
    const bool fitsSigned = !value.is_number_unsigned() ||
                            value.get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<std::int64_t>::max());
    const std::int64_t number = fitsSigned ? value.get<std::int64_t>() : high;
    if (!fitsSigned || number < low || number > high) {
        Fail(path, "must be between " + std::to_string(low) + " and " + std::to_string(high));
    }
    return number;
}

int ReadInt(const json& value, const Path& path, std::int64_t low, std::int64_t high)
{
    return static_cast<int>(ReadInteger(value, path, low, high));
}

double ReadNumber(const json& value, const Path& path)
{
    if (!value.is_number()) {
        Fail(path, "must be a number");
    }
    return value.get<double>();
}

bool ReadBool(const json& value, const Path& path)
{
    if (!value.is_boolean()) {
        Fail(path, "must be true or false");
    }
    return value.get<bool>();
}

std::string ReadString(const json& value, const Path& path)
{
    if (!value.is_string()) {
        Fail(path, "must be a string");
    }
    return value.get<std::string>();
}

std::vector<std::string> ReadStringList(const json& value, const Path& path)
{
    if (!value.is_array()) {
        Fail(path, "must be an array of strings");
    }
    std::vector<std::string> list;
    for (std::size_t i = 0; i < value.size(); ++i) {
        list.push_back(ReadString(value[i], path + "[" + std::to_string(i) + "]"));
    }
    return list;
}

std::map<std::uint32_t, std::uint32_t> ReadMemory(const json& value, const Path& path)
{
    if (!value.is_object()) {
        Fail(path, "must be an object of \"0x...\" addresses and integer values");
    }
    std::map<std::uint32_t, std::uint32_t> memory;
    for (const auto& [key, word] : value.items()) {
        const auto address = MemoryAddress::Parse(key);
        if (!address) {
            Fail(path + "[\"" + key + "\"]", "is not a hexadecimal address like \"0x5000048\"");
        }
        memory[*address] = static_cast<std::uint32_t>(ReadInteger(word, path + "[\"" + key + "\"]", 0, 0xFFFFFFFF));
    }
    return memory;
}

std::map<std::string, std::string> ReadAnswers(const json& value, const Path& path)
{
    if (!value.is_object()) {
        Fail(path, "must be an object of query texts and answer texts");
    }
    std::map<std::string, std::string> answers;
    for (const auto& [query, answer] : value.items()) {
        answers[query] = ReadString(answer, path + "[\"" + query + "\"]");
    }
    return answers;
}

template <class Target>
struct Field {
    std::string_view name;
    void (*read)(const json& value, const Path& path, Target& target);
};

using M = ModuleDescription;
using F = ModuleDescription::Faults;
using B = BenchDescription::Faults;

const Field<F> kFaultFields[] = {
    {"exclusive_lock", [](const json& v, const Path& p, F& f) { f.exclusiveLock = ReadBool(v, p); }},
    {"open_error", [](const json& v, const Path& p, F& f) { f.openError = ReadBool(v, p); }},
    {"attribute_error", [](const json& v, const Path& p, F& f) { f.attributeError = ReadBool(v, p); }},
    {"refuse", [](const json& v, const Path& p, F& f) { f.refuse = ReadStringList(v, p); }},
    {"no_answer", [](const json& v, const Path& p, F& f) { f.noAnswer = ReadStringList(v, p); }},
    {"write_error", [](const json& v, const Path& p, F& f) { f.writeError = ReadStringList(v, p); }},
    {"read_error", [](const json& v, const Path& p, F& f) { f.readError = ReadStringList(v, p); }},
};

template <class Target, std::size_t N>
void ReadFields(const json& object, const Path& path, const Field<Target> (&fields)[N], Target& target)
{
    if (!object.is_object()) {
        Fail(path, "must be an object");
    }
    for (const auto& field : fields) {
        const auto found = object.find(std::string(field.name));
        if (found != object.end()) {
            field.read(*found, path + "." + std::string(field.name), target);
        }
    }
}

const Field<M> kModuleFields[] = {
    {"interface", [](const json& v, const Path& p, M& m) { m.interfaceNumber = ReadInt(v, p, 0, 65535); }},
    {"slot", [](const json& v, const Path& p, M& m) { m.slot = ReadInt(v, p, 0, 32767); }},
    {"logical_address", [](const json& v, const Path& p, M& m) { m.logicalAddress = ReadInt(v, p, 0, 32767); }},
    {"model_code", [](const json& v, const Path& p, M& m) { m.modelCode = ReadInt(v, p, 0, 65535); }},
    {"resource", [](const json& v, const Path& p, M& m) { m.resource = ReadString(v, p); }},
    {"idn", [](const json& v, const Path& p, M& m) { m.idn = ReadString(v, p); }},
    {"channels", [](const json& v, const Path& p, M& m) { m.channels = ReadString(v, p); }},
    {"depth", [](const json& v, const Path& p, M& m) { m.depth = ReadInteger(v, p, 0, INT64_MAX); }},
    {"state_speed_mhz", [](const json& v, const Path& p, M& m) { m.stateSpeedMhz = ReadInteger(v, p, 0, INT64_MAX); }},
    {"hres_period_ps", [](const json& v, const Path& p, M& m) { m.hresPeriodPs = ReadInteger(v, p, 0, INT64_MAX); }},
    {"async_period_s", [](const json& v, const Path& p, M& m) { m.asyncPeriodS = ReadNumber(v, p); }},
    {"pattern_option", [](const json& v, const Path& p, M& m) { m.patternOption = ReadString(v, p); }},
    {"memory", [](const json& v, const Path& p, M& m) { m.memory = ReadMemory(v, p); }},
    {"faults", [](const json& v, const Path& p, M& m) { ReadFields(v, p, kFaultFields, m.faults); }},
    {"latency_ms", [](const json& v, const Path& p, M& m) { m.latencyMs = ReadInt(v, p, 0, 600000); }},
    {"answers", [](const json& v, const Path& p, M& m) { m.answers = ReadAnswers(v, p); }},
};

const Field<B> kBenchFaultFields[] = {
    {"find_next_error", [](const json& v, const Path& p, B& b) { b.findNextError = ReadInteger(v, p, 0, INT64_MAX); }},
    {"open_default_rm_error", [](const json& v, const Path& p, B& b) { b.openDefaultRmError = ReadBool(v, p); }},
};

struct KindDefaults {
    std::string_view name;
    InstrumentKind kind;
    int modelCode;
    std::string_view idn;
};

constexpr KindDefaults kKinds[] = {
    {"analyzer", InstrumentKind::Analyzer, 1025, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1"},
    {"pattern-generator", InstrumentKind::PatternGenerator, 1985, "QUORVALIS,KVX7PG2,C100200,FW:2.0.5"},
    {"other", InstrumentKind::Other, 1500, "OTHERCO,DMM-1,0,1.0"},
};

ModuleDescription DefaultsForKind(const json& object, const Path& path)
{
    const auto found = object.find("kind");
    const std::string name = found == object.end() ? "analyzer" : ReadString(*found, path + ".kind");
    const auto row = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [&name](const KindDefaults& kind) { return kind.name == name; });
    if (row == std::end(kKinds)) {
        Fail(path + ".kind", "must be \"analyzer\", \"pattern-generator\" or \"other\"");
    }
    ModuleDescription module;
    module.kind = row->kind;
    module.modelCode = row->modelCode;
    module.idn = std::string(row->idn);
    return module;
}

// Slots count up within each frame and logical addresses are spread over the bench the way
// a crate is usually addressed (multiples of 8), so an all-defaults bench stays unique.
ModuleDescription ReadModule(const json& object, std::size_t index, std::map<int, int>& modulesPerFrame)
{
    const Path path = "modules[" + std::to_string(index) + "]";
    if (!object.is_object()) {
        Fail(path, "must be an object");
    }
    ModuleDescription module = DefaultsForKind(object, path);
    ReadFields(object, path, kModuleFields, module);
    const int positionInFrame = ++modulesPerFrame[module.interfaceNumber];
    if (!object.contains("slot")) {
        module.slot = positionInFrame;
    }
    if (!object.contains("logical_address")) {
        module.logicalAddress = static_cast<int>((8 * (index + 1)) % 32768);
    }
    if (module.resource.empty()) {
        module.resource = "VXI" + std::to_string(module.interfaceNumber) + "::" +
                          std::to_string(module.logicalAddress) + "::INSTR";
    }
    return module;
}

std::string Folded(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

void CheckResourcesUnique(const std::vector<ModuleDescription>& modules)
{
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const auto [entry, fresh] = seen.emplace(Folded(modules[i].resource), i);
        if (!fresh) {
            Fail("modules[" + std::to_string(i) + "].resource",
                 "\"" + modules[i].resource + "\" is already used by modules[" + std::to_string(entry->second) + "]");
        }
    }
}

std::string WithoutExceptionTag(const std::string& what)
{
    const auto tagEnd = what.find("] ");
    return (what.rfind("[json.exception", 0) == 0 && tagEnd != std::string::npos) ? what.substr(tagEnd + 2) : what;
}

BenchDescription ReadBench(const json& document)
{
    if (!document.is_object()) {
        throw BenchError("the top level must be a JSON object with a \"modules\" array");
    }
    BenchDescription bench;
    if (const auto modules = document.find("modules"); modules != document.end()) {
        if (!modules->is_array()) {
            Fail("modules", "must be an array");
        }
        std::map<int, int> modulesPerFrame;
        for (std::size_t i = 0; i < modules->size(); ++i) {
            bench.modules.push_back(ReadModule((*modules)[i], i, modulesPerFrame));
        }
    }
    if (const auto faults = document.find("faults"); faults != document.end()) {
        ReadFields(*faults, "faults", kBenchFaultFields, bench.faults);
    }
    CheckResourcesUnique(bench.modules);
    return bench;
}

}  // namespace

BenchDescription BenchParser::Parse(std::string_view text)
{
    try {
        return ReadBench(json::parse(text.begin(), text.end()));
    } catch (const json::exception& error) {
        throw BenchError(WithoutExceptionTag(error.what()));
    }
}

}  // namespace stratigon::sim
