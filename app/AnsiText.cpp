#include "app/AnsiText.h"

#include <new>

namespace stratigon::app {

std::string AnsiFromBstr(BSTR text)
{
    const int length = static_cast<int>(::SysStringLen(text));
    if (length == 0)
        return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring WideFromAnsi(const std::string& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), size);
    return result;
}

UniqueBstr BstrFromAnsi(const std::string& text)
{
    const std::wstring wide = WideFromAnsi(text);
    UniqueBstr result(::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    if (!result)
        throw std::bad_alloc();
    return result;
}

}  // namespace stratigon::app
