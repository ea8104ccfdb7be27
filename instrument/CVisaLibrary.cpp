#include "instrument/CVisaLibrary.h"

#include <type_traits>

namespace stratigon {

namespace {

template <auto Member>
void Assign(VisaFunctions& table, void* address)
{
    using Pointer = std::remove_reference_t<decltype(table.*Member)>;
    table.*Member = reinterpret_cast<Pointer>(address);
}

struct FunctionSlot {
    const char* name;
    void (*assign)(VisaFunctions&, void*);
};

constexpr FunctionSlot kFunctionSlots[] = {
    {"viOpenDefaultRM", &Assign<&VisaFunctions::viOpenDefaultRM>},
    {"viFindRsrc", &Assign<&VisaFunctions::viFindRsrc>},
    {"viFindNext", &Assign<&VisaFunctions::viFindNext>},
    {"viOpen", &Assign<&VisaFunctions::viOpen>},
    {"viClose", &Assign<&VisaFunctions::viClose>},
    {"viGetAttribute", &Assign<&VisaFunctions::viGetAttribute>},
    {"viLock", &Assign<&VisaFunctions::viLock>},
    {"viUnlock", &Assign<&VisaFunctions::viUnlock>},
    {"viRead", &Assign<&VisaFunctions::viRead>},
    {"viWrite", &Assign<&VisaFunctions::viWrite>},
    {"viStatusDesc", &Assign<&VisaFunctions::viStatusDesc>},
};

}  // namespace

const char* CVisaLibrary::DefaultName()
{
#if defined(_WIN32)
    return "visa32.dll";
#else
    return "libvisa.so";
#endif
}

bool CVisaLibrary::Load(const std::string& name)
{
    m_functions = VisaFunctions{};
    m_name = name;
    m_error.clear();
    std::string reason;
    if (!m_library.Load(name, reason)) {
        m_error = "The VISA library " + name + " could not be loaded: " + reason;
        return false;
    }
    VisaFunctions table;
    for (const FunctionSlot& slot : kFunctionSlots) {
        void* address = m_library.Symbol(slot.name);
        if (address == nullptr) {
            m_error = "The VISA library " + name + " has no function " + slot.name + ".";
            m_library.Reset();
            return false;
        }
        slot.assign(table, address);
    }
    m_functions = table;
    return true;
}

}  // namespace stratigon
