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

// Raises the error of a nonzero automation result: its low 16 bits are the code.
[[noreturn]] void RaiseAutomationError(std::uint32_t result);

}  // namespace stratigon::app
