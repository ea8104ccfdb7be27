#include "fuzz/support/ScriptedVisa.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz/support/FuzzCheck.h"

namespace stratigon::fuzz {

namespace {

ScriptedVisa* g_current = nullptr;

ViStatus VISA_CALL ScriptedOpenDefaultRM(ViSession* vi)
{
    *vi = ScriptedVisa::kResourceManager;
    return VI_SUCCESS;
}

ViStatus VISA_CALL ScriptedFindRsrc(ViSession, ViConstString, ViFindList* list, ViUInt32* count, ViChar desc[])
{
    *list = 2;
    *count = 1;
    std::strcpy(desc, ScriptedVisa::kResource);
    return VI_SUCCESS;
}

ViStatus VISA_CALL ScriptedFindNext(ViFindList, ViChar[]) { return VI_ERROR_RSRC_NFOUND; }

ViStatus VISA_CALL ScriptedOpen(ViSession, ViConstRsrc, ViAccessMode, ViUInt32, ViSession* vi)
{
    *vi = ScriptedVisa::kSession;
    return VI_SUCCESS;
}

ViStatus VISA_CALL ScriptedClose(ViObject) { return VI_SUCCESS; }

// Frame 0, slot 3, logical address 24, a model code the scan accepts.
ViStatus VISA_CALL ScriptedGetAttribute(ViObject, ViAttr attribute, void* value)
{
    ViUInt16 result = 0;
    switch (attribute) {
    case VI_ATTR_INTF_NUM: result = 0; break;
    case VI_ATTR_VXI_LA: result = 24; break;
    case VI_ATTR_SLOT: result = 3; break;
    case VI_ATTR_MODEL_CODE: result = 1025; break;
    default: return VI_ERROR_NSUP_ATTR;
    }
    std::memcpy(value, &result, sizeof result);
    return VI_SUCCESS;
}

ViStatus VISA_CALL ScriptedLock(ViSession, ViAccessMode, ViUInt32, ViConstKeyId, ViChar[]) { return VI_SUCCESS; }

ViStatus VISA_CALL ScriptedUnlock(ViSession) { return VI_SUCCESS; }

ViStatus VISA_CALL ScriptedRead(ViSession, ViPBuf buffer, ViUInt32 count, ViUInt32* received)
{
    return g_current->Read(buffer, count, received);
}

// Every byte the program claims to send is looked at, so a count beyond its text shows.
ViStatus VISA_CALL ScriptedWrite(ViSession, ViConstBuf buffer, ViUInt32 count, ViUInt32* written)
{
    FUZZ_CHECK(std::find(buffer, buffer + count, '\0') == buffer + count);
    *written = count;
    return VI_SUCCESS;
}

ViStatus VISA_CALL ScriptedStatusDesc(ViObject, ViStatus, ViChar desc[])
{
    std::strcpy(desc, "Scripted status");
    return VI_SUCCESS;
}

}  // namespace

ScriptedVisa::ScriptedVisa(FuzzedDataProvider& input) : m_input(input)
{
    FUZZ_CHECK(g_current == nullptr);
    g_current = this;
    m_functions = VisaFunctions{&ScriptedOpenDefaultRM, &ScriptedFindRsrc, &ScriptedFindNext, &ScriptedOpen, &ScriptedClose, &ScriptedGetAttribute,
                                &ScriptedLock, &ScriptedUnlock, &ScriptedRead, &ScriptedWrite, &ScriptedStatusDesc};
}

ScriptedVisa::~ScriptedVisa() { g_current = nullptr; }

// An input that has run out is a module that stopped answering.
ViStatus ScriptedVisa::Read(ViPBuf buffer, ViUInt32 count, ViUInt32* received)
{
    if (m_input.remaining_bytes() == 0)
        return VI_ERROR_TMO;
    const std::string answer = m_input.ConsumeRandomLengthString(kLongestAnswer);
    const std::size_t copied = std::min<std::size_t>(answer.size(), count);
    std::memcpy(buffer, answer.data(), copied);
    *received = claimsFullCount ? count : static_cast<ViUInt32>(copied);
    return copied < answer.size() ? VI_SUCCESS_MAX_CNT : VI_SUCCESS;
}

}  // namespace stratigon::fuzz
