// Owner of a shared library loaded at run time (a DLL on Windows, a .so elsewhere): finds
// symbols in it and unloads it when destroyed. The only place that touches the loader.
#pragma once

#include <string>

namespace stratigon {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the library by name (the system's search rules) or by path. On failure the
    // library stays unloaded and `error` receives the loader's reason.
    bool Load(const std::string& name, std::string& error);
    void* Symbol(const char* name) const;
    bool IsLoaded() const { return m_handle != nullptr; }
    void Reset();

private:
    void* m_handle = nullptr;
};

}  // namespace stratigon
