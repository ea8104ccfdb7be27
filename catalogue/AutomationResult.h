// Results of the operations that serve automation clients: 0, or 0x80040000 plus the code
// of the automation message table, so that the code is the low 16 bits.
#pragma once

#include <cstdint>

namespace stratigon::AutomationResult {

constexpr std::uint32_t FromCode(std::uint32_t code) { return 0x80040000u + code; }
constexpr std::uint32_t CodeOf(std::uint32_t result) { return result & 0xFFFFu; }

inline constexpr std::uint32_t Success = 0;
inline constexpr std::uint32_t OperationFailed = FromCode(1002);   // 0x800403EA
inline constexpr std::uint32_t ShowWindowFailed = FromCode(1003);  // 0x800403EB
inline constexpr std::uint32_t SerialNotFound = FromCode(1008);    // 0x800403F0
inline constexpr std::uint32_t SerialRequired = FromCode(1009);    // 0x800403F1
inline constexpr std::uint32_t UniqueIdNotFound = FromCode(1010);  // 0x800403F2
inline constexpr std::uint32_t OptionNotDefined = FromCode(1011);  // 0x800403F3
inline constexpr std::uint32_t Incompatible = FromCode(1013);      // 0x800403F5
inline constexpr std::uint32_t UpgradeFailed = FromCode(1014);     // 0x800403F6
inline constexpr std::uint32_t ProductNotDefined = FromCode(1015); // 0x800403F7
inline constexpr std::uint32_t NoUniqueId = FromCode(1017);        // 0x800403F9

}  // namespace stratigon::AutomationResult
