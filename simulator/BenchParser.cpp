#include "simulator/BenchParser.h"

#include "simulator/BenchError.h"
#include "simulator/KeyPositions.h"
#include "simulator/MemoryAddress.h"
#include "simulator/Trace.h"

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

Path Join(const Path& path, std::string_view name)
{
    return path.empty() ? std::string(name) : path + "." + std::string(name);
}

// A field the bench does not know, most often a misspelt one that would otherwise leave its
// default in place unnoticed. Parse() adds where it stands in the file.
struct UnknownField {
    Path path;
    std::string name;
    std::string_view nearest;
};

// How far a typed name is from a known one, weighed as git weighs its suggestions: letters
// left out and swapped are the usual slips, so they cost least, and extra letters most.
std::size_t Distance(std::string_view typed, std::string_view known)
{
    constexpr std::size_t kSwap = 0, kReplace = 2, kLeftOut = 1, kExtra = 4;
    std::vector<std::vector<std::size_t>> d(typed.size() + 1, std::vector<std::size_t>(known.size() + 1));
    for (std::size_t i = 0; i <= typed.size(); ++i) {
        for (std::size_t j = 0; j <= known.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = i * kExtra + j * kLeftOut;
                continue;
            }
            d[i][j] = std::min({d[i - 1][j - 1] + (typed[i - 1] == known[j - 1] ? 0 : kReplace),
                                d[i - 1][j] + kExtra, d[i][j - 1] + kLeftOut});
            if (i > 1 && j > 1 && typed[i - 1] == known[j - 2] && typed[i - 2] == known[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + kSwap);
            }
        }
    }
    return d[typed.size()][known.size()];
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
void CheckFieldsKnown(const json& object, const Path& path, const Field<Target> (&fields)[N])
{
    for (const auto& [name, value] : object.items()) {
        const Field<Target>* nearest = &fields[0];
        for (const auto& field : fields) {
            if (field.name == name) {
                nearest = nullptr;
                break;
            }
            if (Distance(name, field.name) < Distance(name, nearest->name)) {
                nearest = &field;
            }
        }
        if (nearest != nullptr) {
            throw UnknownField{Join(path, name), name, nearest->name};
        }
    }
}

template <class Target, std::size_t N>
void ReadFields(const json& object, const Path& path, const Field<Target> (&fields)[N], Target& target)
{
    if (!object.is_object()) {
        Fail(path, "must be an object");
    }
    CheckFieldsKnown(object, path, fields);
    for (const auto& field : fields) {
        const auto found = object.find(std::string(field.name));
        if (found != object.end()) {
            field.read(*found, Join(path, field.name), target);
        }
    }
}

const Field<M> kModuleFields[] = {
    {"kind", [](const json&, const Path&, M&) {}},  // read first: it chooses the defaults
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

std::vector<ModuleDescription> ReadModules(const json& value, const Path& path)
{
    if (!value.is_array()) {
        Fail(path, "must be an array");
    }
    std::vector<ModuleDescription> modules;
    std::map<int, int> modulesPerFrame;
    for (std::size_t i = 0; i < value.size(); ++i) {
        modules.push_back(ReadModule(value[i], i, modulesPerFrame));
    }
    return modules;
}

using D = BenchDescription;

const Field<D> kBenchFields[] = {
    {"modules", [](const json& v, const Path& p, D& d) { d.modules = ReadModules(v, p); }},
    {"faults", [](const json& v, const Path& p, D& d) { ReadFields(v, p, kBenchFaultFields, d.faults); }},
};

BenchDescription ReadBench(const json& document)
{
    if (!document.is_object()) {
        throw BenchError("the top level must be a JSON object with a \"modules\" array");
    }
    BenchDescription bench;
    ReadFields(document, Path(), kBenchFields, bench);
    CheckResourcesUnique(bench.modules);
    return bench;
}

std::string UnknownFieldReason(const UnknownField& unknown, std::string_view text)
{
    const auto position = KeyPositions(text).Find(unknown.path);
    const std::string where = position ? "line " + std::to_string(position->line) + ", column " +
                                             std::to_string(position->column) + ": "
                                       : std::string();
    // The name is the file's bytes: shown as the trace shows them, so that none is lost or
    // ends the message early.
    return where + Trace::Escape(unknown.path) + " is no field of a bench file; did you mean " +
           std::string(unknown.nearest) + "?";
}

}  // namespace

BenchDescription BenchParser::Parse(std::string_view text)
{
    try {
        return ReadBench(json::parse(text.begin(), text.end()));
    } catch (const json::exception& error) {
        throw BenchError(WithoutExceptionTag(error.what()));
    } catch (const UnknownField& unknown) {
        throw BenchError(UnknownFieldReason(unknown, text));
    }
}

}  // namespace stratigon::sim
