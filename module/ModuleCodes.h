// The results of the module operations: string-table ids that the caller turns into the text
// it shows, and the lookup of those texts.
#pragma once

namespace stratigon {

namespace ModuleCode {
inline constexpr int UpdateComplete = 104;
inline constexpr int UpdateFailed = 105;
inline constexpr int CannotUpgrade = 108;
inline constexpr int NoModule = 109;
inline constexpr int Success = 112;
inline constexpr int QueryFailed = 114;
inline constexpr int InvalidSerialNumber = 117;
inline constexpr int InvalidPatternGeneratorOption = 119;
inline constexpr int InvalidFirmwareVersion = 120;
}  // namespace ModuleCode

// The user's text for a code; success and codes outside the table have none (an empty text).
const char* ModuleCodeText(int code);

}  // namespace stratigon
