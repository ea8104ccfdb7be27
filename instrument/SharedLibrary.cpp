#include "instrument/SharedLibrary.h"

#include <utility>

#if defined(_WIN32)
// The one Windows header of the portable core: the loader has no portable spelling.
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace stratigon {

namespace {

#if defined(_WIN32)
std::string LastErrorText()
{
    const DWORD code = ::GetLastError();
    char text[512] = {};
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, text, sizeof text, nullptr);
    std::string result(text, length);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
        result.pop_back();
    if (result.empty())
        result = "Windows error " + std::to_string(code);
    return result;
}

void* Open(const std::string& name) { return reinterpret_cast<void*>(::LoadLibraryA(name.c_str())); }
void Close(void* handle) { ::FreeLibrary(static_cast<HMODULE>(handle)); }
void* Find(void* handle, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle), name));
}
#else
std::string LastErrorText()
{
    const char* text = ::dlerror();
    return text ? text : "unknown loader error";
}

void* Open(const std::string& name) { return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }
void Close(void* handle) { ::dlclose(handle); }
void* Find(void* handle, const char* name) { return ::dlsym(handle, name); }
#endif

}  // namespace

SharedLibrary::~SharedLibrary() { Reset(); }

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

bool SharedLibrary::Load(const std::string& name, std::string& error)
{
    Reset();
    m_handle = Open(name);
    if (m_handle == nullptr) {
        error = LastErrorText();
        return false;
    }
    return true;
}

void* SharedLibrary::Symbol(const char* name) const { return m_handle ? Find(m_handle, name) : nullptr; }

void SharedLibrary::Reset()
{
    if (m_handle != nullptr)
        Close(std::exchange(m_handle, nullptr));
}

}  // namespace stratigon
