#include "support/FakeVisa.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace stratigon::test {

namespace {

FakeVisa* g_current = nullptr;

void CopyDescriptor(const std::string& text, ViChar* descriptor)
{
    std::snprintf(descriptor, VI_FIND_BUFLEN, "%s", text.c_str());
}

ViStatus VISA_CALL FakeOpenDefaultRM(ViSession* vi) { return g_current->OpenDefaultRM(vi); }
ViStatus VISA_CALL FakeFindRsrc(ViSession, ViConstString, ViFindList* list, ViUInt32* count, ViChar desc[])
{
    return g_current->FindRsrc(list, count, desc);
}
ViStatus VISA_CALL FakeFindNext(ViFindList, ViChar desc[]) { return g_current->FindNext(desc); }
ViStatus VISA_CALL FakeOpen(ViSession, ViConstRsrc name, ViAccessMode, ViUInt32, ViSession* vi)
{
    return g_current->Open(name, vi);
}
ViStatus VISA_CALL FakeClose(ViObject vi) { return g_current->Close(vi); }
ViStatus VISA_CALL FakeGetAttribute(ViObject vi, ViAttr attribute, void* value)
{
    return g_current->GetAttribute(vi, attribute, value);
}
ViStatus VISA_CALL FakeLock(ViSession vi, ViAccessMode, ViUInt32, ViConstKeyId key, ViChar[])
{
    return g_current->Lock(vi, key);
}
ViStatus VISA_CALL FakeUnlock(ViSession vi) { return g_current->Unlock(vi); }
ViStatus VISA_CALL FakeRead(ViSession vi, ViPBuf buffer, ViUInt32 count, ViUInt32* received)
{
    return g_current->Read(vi, buffer, count, received);
}
ViStatus VISA_CALL FakeWrite(ViSession vi, ViConstBuf buffer, ViUInt32 count, ViUInt32* written)
{
    *written = count;
    return g_current->Write(vi, buffer, count);
}
ViStatus VISA_CALL FakeStatusDesc(ViObject, ViStatus, ViChar desc[])
{
    std::strcpy(desc, FakeVisa::kDescription);
    return VI_SUCCESS;
}

}  // namespace

FakeVisa::FakeVisa()
{
    if (g_current != nullptr)
        throw std::logic_error("only one FakeVisa at a time");
    g_current = this;
    m_functions = VisaFunctions{&FakeOpenDefaultRM, &FakeFindRsrc, &FakeFindNext, &FakeOpen,
                                &FakeClose, &FakeGetAttribute, &FakeLock, &FakeUnlock,
                                &FakeRead, &FakeWrite, &FakeStatusDesc};
}

FakeVisa::~FakeVisa() { g_current = nullptr; }

ViStatus FakeVisa::OpenDefaultRM(ViSession* vi)
{
    calls.push_back("viOpenDefaultRM");
    *vi = VisaFailed(openDefaultRmStatus) ? 0 : kResourceManager;
    return openDefaultRmStatus;
}

ViStatus FakeVisa::FindRsrc(ViFindList* list, ViUInt32* count, ViChar* descriptor)
{
    calls.push_back("viFindRsrc");
    if (VisaFailed(findRsrcStatus))
        return findRsrcStatus;
    if (resources.empty())
        return VI_ERROR_RSRC_NFOUND;
    *list = 2;
    *count = reportedCount.value_or(static_cast<ViUInt32>(resources.size()));
    m_findPosition = 0;
    CopyDescriptor(resources[0].descriptor, descriptor);
    return VI_SUCCESS;
}

ViStatus FakeVisa::FindNext(ViChar* descriptor)
{
    calls.push_back("viFindNext");
    if (findNextFailsAfter && *findNextFailsAfter == m_findPosition)
        return findNextFailure;
    if (m_findPosition + 1 >= resources.size())
        return VI_ERROR_RSRC_NFOUND;
    ++m_findPosition;
    CopyDescriptor(resources[m_findPosition].descriptor, descriptor);
    return VI_SUCCESS;
}

ViStatus FakeVisa::Open(ViConstRsrc name, ViSession* vi)
{
    calls.push_back(std::string("viOpen ") + name);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        if (resources[i].descriptor != name)
            continue;
        if (VisaFailed(resources[i].openStatus))
            return resources[i].openStatus;
        *vi = SessionOf(i);
        return VI_SUCCESS;
    }
    return VI_ERROR_RSRC_NFOUND;
}

ViStatus FakeVisa::Close(ViObject vi)
{
    calls.push_back("viClose " + std::to_string(vi));
    return VI_SUCCESS;
}

const FakeResource* FakeVisa::ResourceOf(ViObject vi) const
{
    if (vi < kFirstSession || vi - kFirstSession >= resources.size())
        return nullptr;
    return &resources[vi - kFirstSession];
}

ViStatus FakeVisa::GetAttribute(ViObject vi, ViAttr attribute, void* value)
{
    const FakeResource* resource = ResourceOf(vi);
    if (resource == nullptr)
        return VI_ERROR_INV_OBJECT;
    if (VisaFailed(resource->attributeStatus))
        return resource->attributeStatus;
    ViUInt16 result = 0;
    switch (attribute) {
    case VI_ATTR_INTF_NUM: result = resource->interfaceNumber; break;
    case VI_ATTR_VXI_LA: result = resource->logicalAddress; break;
    case VI_ATTR_SLOT: result = resource->slot; break;
    case VI_ATTR_MODEL_CODE: result = resource->modelCode; break;
    default: return VI_ERROR_NSUP_ATTR;
    }
    std::memcpy(value, &result, sizeof result);
    return VI_SUCCESS;
}

ViStatus FakeVisa::Lock(ViSession vi, ViConstKeyId key)
{
    calls.push_back("viLock " + std::to_string(vi));
    lockKeys.emplace_back(key ? key : "(null)");
    const FakeResource* resource = ResourceOf(vi);
    return resource ? resource->lockStatus : VI_ERROR_INV_OBJECT;
}

ViStatus FakeVisa::Unlock(ViSession vi)
{
    calls.push_back("viUnlock " + std::to_string(vi));
    return VI_SUCCESS;
}

ViStatus FakeVisa::Read(ViSession, ViPBuf buffer, ViUInt32 count, ViUInt32* received)
{
    readCounts.push_back(count);
    if (VisaFailed(readStatus))
        return readStatus;
    if (answers.empty())
        return VI_ERROR_TMO;
    const std::string answer = answers.front();
    answers.pop_front();
    const std::size_t copied = std::min<std::size_t>(answer.size(), count);
    std::memcpy(buffer, answer.data(), copied);
    *received = claimedReadCount.value_or(static_cast<ViUInt32>(copied));
    return copied < answer.size() ? VI_SUCCESS_MAX_CNT : VI_SUCCESS;
}

ViStatus FakeVisa::Write(ViSession, ViConstBuf buffer, ViUInt32 count)
{
    writes.emplace_back(reinterpret_cast<const char*>(buffer), count);
    return writeStatus;
}

}  // namespace stratigon::test
