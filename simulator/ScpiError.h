// Error numbers a simulated module puts on its error queue, with the meaning a real
// SCPI instrument gives them; the program only tells "0" from anything else.
#pragma once

namespace stratigon::sim {

enum class ScpiError : int {
    None = 0,
    DataTypeError = -104,
    ParameterNotAllowed = -108,
    MissingParameter = -109,
    UndefinedHeader = -113,
    SettingsConflict = -221,
    DataOutOfRange = -222,
    IllegalParameterValue = -224,
    MassStorageError = -250,
    QueueOverflow = -350,
};

}  // namespace stratigon::sim
