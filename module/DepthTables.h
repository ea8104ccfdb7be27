// Memory depths as the user sees them ("1M") beside the form a module reports and accepts:
// a sample count for logic analyzers, a memory option name for the pattern generator.
#pragma once

namespace stratigon {

// Fixed-width, NUL-padded fields; a row with an empty name ends a table.
struct DepthRow {
    char name[8];
    char longForm[20];
};

inline constexpr DepthRow AnalyzerDepthTable[] = {
    {"32K", "32768"},       {"64K", "65536"},       {"128K", "131072"},      {"256K", "262144"},
    {"512K", "524288"},     {"1M", "1048576"},      {"2M", "2097152"},       {"4M", "4194304"},
    {"8M", "8388608"},      {"16M", "16777216"},    {"32M", "33554432"},     {"64M", "67108864"},
    {"128M", "134217728"},  {"256M", "268435456"},  {"512M", "536870912"},   {"1G", "1073741824"},
    {"", ""},
};

inline constexpr DepthRow PatternGeneratorDepthTable[] = {
    {"256K", "STD"},
    {"1M", "OPT1M"},
    {"", ""},
};

}  // namespace stratigon
