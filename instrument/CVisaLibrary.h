// The PC's VISA library, loaded at run time, and the function table filled from it.
// Owns the loaded library; the table stays valid as long as this object lives.
#pragma once

#include <string>

#include "instrument/SharedLibrary.h"
#include "instrument/VisaFunctions.h"

namespace stratigon {

class CVisaLibrary {
public:
    // The library every VISA installation provides under its standard name.
    static const char* DefaultName();

    // Loads `name` (a file name for the system's search, or a path) and resolves all eleven
    // functions. On failure nothing stays loaded and ErrorText() says what went wrong.
    bool Load(const std::string& name);
    bool LoadDefault() { return Load(DefaultName()); }

    bool IsLoaded() const { return m_library.IsLoaded(); }
    const VisaFunctions& Functions() const { return m_functions; }
    const std::string& ErrorText() const { return m_error; }
    const std::string& Name() const { return m_name; }

private:
    SharedLibrary m_library;
    VisaFunctions m_functions;
    std::string m_name;
    std::string m_error;
};

}  // namespace stratigon
