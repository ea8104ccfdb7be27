// The error an automation method raises: an error code of the automation message table and
// its text. The proxy turns it into an EXCEPINFO for late-bound clients and into an HRESULT
// with the thread's error information for clients of the dual interface.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace stratigon::app {

class CAutomationException {
public:
    CAutomationException(std::uint16_t code, std::string description)
        : m_code(code), m_description(std::move(description))
    {
    }
    std::uint16_t Code() const { return m_code; }
    const std::string& Description() const { return m_description; }

private:
    std::uint16_t m_code;
    std::string m_description;
};

// A failure the platform has a code for, such as an index out of range: the caller gets that
// code rather than one of the message table.
class CPlatformFailure {
public:
    CPlatformFailure(long status, std::string description) : m_status(status), m_description(std::move(description)) {}
    long Status() const { return m_status; }
    const std::string& Description() const { return m_description; }

private:
    long m_status;
    std::string m_description;
};

// Raises the error of a nonzero automation result: its low 16 bits are the code.
[[noreturn]] void RaiseAutomationError(std::uint32_t result);

// Raises the error of `result` unless it is success (0).
inline void RaiseIfFailed(std::uint32_t result)
{
    if (result != 0)
        RaiseAutomationError(result);
}

}  // namespace stratigon::app
