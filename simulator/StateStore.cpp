#include "simulator/StateStore.h"

#include "simulator/MemoryAddress.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdint>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace stratigon::sim {
namespace {

using nlohmann::json;

json ToJson(const ModuleState& state)
{
    json memory = json::object();
    for (const auto& [address, value] : state.memory) {
        memory[MemoryAddress::Format(address)] = value;
    }
    json entry = {{"depth", state.depth},
                  {"state_speed_mhz", state.stateSpeedMhz},
                  {"pattern_option", state.patternOption},
                  {"memory", memory}};
    if (state.lastUpdate) {
        entry["last_update"] = *state.lastUpdate;
    }
    return entry;
}

// A whole number that fits: a fraction, a truth value or a number beyond 64 bits is no saved
// value (converting one would be undefined).
std::int64_t Integer(const json& value, const char* name)
{
    if (!value.is_number_integer() || (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX)) {
        throw std::invalid_argument(std::string("bad ") + name);
    }
    return value.get<std::int64_t>();
}

// Throws on any field of the wrong shape; the caller then ignores the whole file.
ModuleState FromJson(const json& entry)
{
    ModuleState state;
    state.depth = Integer(entry.at("depth"), "depth");
    state.stateSpeedMhz = Integer(entry.at("state_speed_mhz"), "state speed");
    state.patternOption = entry.at("pattern_option").get<std::string>();
    for (const auto& [key, value] : entry.at("memory").items()) {
        const auto address = MemoryAddress::Parse(key);
        if (!address) {
            throw std::invalid_argument("bad memory address " + key);
        }
        if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFFFFFFULL) {
            throw std::invalid_argument("bad memory word at " + key);
        }
        state.memory[*address] = static_cast<std::uint32_t>(value.get<std::uint64_t>());
    }
    if (const auto stamp = entry.find("last_update"); stamp != entry.end()) {
        state.lastUpdate = Integer(*stamp, "update stamp");
    }
    return state;
}

std::filesystem::path WithSuffix(const std::filesystem::path& path, const std::string& suffix)
{
    std::filesystem::path result = path;
    result += suffix;
    return result;
}

std::filesystem::path UniqueTemporaryBeside(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream suffix;
    suffix << ".tmp-" << std::hex << random() << '-' << now << '-' << ++counter;
    return WithSuffix(target, suffix.str());
}

}  // namespace

std::filesystem::path StateStore::LockPath() const
{
    return path_.empty() ? path_ : WithSuffix(path_, ".lock");
}

StateStore::States StateStore::Load() const
{
    States states;
    if (path_.empty()) {
        return states;
    }
    try {
        std::ifstream in(path_, std::ios::binary);
        if (!in) {
            return states;
        }
        const json document = json::parse(in);
        for (const auto& [resource, entry] : document.at("resources").items()) {
            states[resource] = FromJson(entry);
        }
    } catch (const std::exception&) {
        states.clear();
    }
    return states;
}

std::string StateStore::Save(const States& states, bool holdingLock) const
{
    if (path_.empty()) {
        return {};
    }
    json resources = json::object();
    for (const auto& [resource, state] : states) {
        resources[resource] = ToJson(state);
    }
    const std::string text = json{{"resources", resources}}.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
    const auto temporary = holdingLock ? WithSuffix(path_, ".tmp") : UniqueTemporaryBeside(path_);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write " + temporary.string();
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path_, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return "cannot replace " + path_.string() + ": " + error.message();
    }
    return {};
}

}  // namespace stratigon::sim
