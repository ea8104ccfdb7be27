#include "module/ModuleCodes.h"

namespace stratigon {

namespace {

struct CodeText {
    int code;
    const char* text;
};

// The trailing blank of the first text is part of what the user has always seen.
constexpr CodeText kCodeTexts[] = {
    {ModuleCode::UpdateComplete, "Update complete successfully. "},
    {ModuleCode::UpdateFailed, "Error: Update Failed."},
    {ModuleCode::CannotUpgrade, "This module cannot be Stratigoned."},
    {ModuleCode::NoModule, "No module to Stratigon."},
    {ModuleCode::QueryFailed, "Error: Failure when querying module."},
    {ModuleCode::InvalidSerialNumber, "Error: Invalid Serial Number."},
    {ModuleCode::InvalidPatternGeneratorOption, "Error: Invalid Pattern Generator Option."},
    {ModuleCode::InvalidFirmwareVersion, "Error: Invalid firmware version."},
};

}  // namespace

const char* ModuleCodeText(int code)
{
    for (const CodeText& row : kCodeTexts) {
        if (row.code == code)
            return row.text;
    }
    return "";
}

}  // namespace stratigon
