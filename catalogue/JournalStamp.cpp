#include "catalogue/JournalStamp.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#if defined(_WIN32)
#include <process.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace stratigon {

namespace {

#if defined(_WIN32)
// Windows keeps the names as UTF-16 in the environment; the journal is UTF-8.
std::string Utf8FromWide(const wchar_t* text)
{
    std::string utf8;
    for (const wchar_t* p = text; p != nullptr && *p != 0; ++p) {
        std::uint32_t c = static_cast<std::uint16_t>(*p);
        if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint16_t>(*++p) - 0xDC00);
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            utf8 += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                     static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            utf8 += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                     static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return utf8;
}
#endif

}  // namespace

std::string UtcTimestamp()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
#if defined(_WIN32)
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string ComputerName()
{
#if defined(_WIN32)
    return Utf8FromWide(_wgetenv(L"COMPUTERNAME"));
#else
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? name : "";
#endif
}

std::string UserName()
{
#if defined(_WIN32)
    return Utf8FromWide(_wgetenv(L"USERNAME"));
#else
    if (const passwd* account = ::getpwuid(::geteuid()); account != nullptr && account->pw_name != nullptr)
        return account->pw_name;
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
#endif
}

std::string NewAttemptId()
{
#if defined(_WIN32)
    const long process = _getpid();
#else
    const long process = static_cast<long>(::getpid());
#endif
    static std::mt19937 random{std::random_device{}()};
    char text[48];
    std::snprintf(text, sizeof text, "%ld-%08x", process, static_cast<unsigned>(random()));
    return text;
}

}  // namespace stratigon
