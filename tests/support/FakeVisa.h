// A scripted VISA library for tests that need exact control over what the library answers
// (statuses, attribute values, answers, counts) and a record of every call made to it.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "instrument/VisaFunctions.h"

namespace stratigon::test {

struct FakeResource {
    std::string descriptor;
    ViUInt16 interfaceNumber = 0;
    ViUInt16 logicalAddress = 0;
    ViUInt16 slot = 1;
    ViUInt16 modelCode = 1025;
    ViStatus openStatus = VI_SUCCESS;
    ViStatus attributeStatus = VI_SUCCESS;
    ViStatus lockStatus = VI_SUCCESS;
};

// Only one instance may exist at a time: the plain C function table reaches it through a
// process-wide pointer.
class FakeVisa {
public:
    static constexpr ViSession kResourceManager = 1;
    static constexpr ViSession kFirstSession = 100;
    static constexpr char kDescription[] = "Fake status description";

    FakeVisa();
    ~FakeVisa();
    FakeVisa(const FakeVisa&) = delete;
    FakeVisa& operator=(const FakeVisa&) = delete;

    const VisaFunctions& Functions() const { return m_functions; }
    static ViSession SessionOf(std::size_t resourceIndex)
    {
        return kFirstSession + static_cast<ViSession>(resourceIndex);
    }

    // Script.
    ViStatus openDefaultRmStatus = VI_SUCCESS;
    ViStatus findRsrcStatus = VI_SUCCESS;
    std::optional<ViUInt32> reportedCount;         // what viFindRsrc claims; default: the real count
    std::optional<std::size_t> findNextFailsAfter;  // index of the resource after which viFindNext fails
    ViStatus findNextFailure = VI_ERROR_SYSTEM_ERROR;
    std::vector<FakeResource> resources;
    ViStatus writeStatus = VI_SUCCESS;
    ViStatus readStatus = VI_SUCCESS;
    std::deque<std::string> answers;               // one per viRead; raw bytes
    std::optional<ViUInt32> claimedReadCount;      // a lying library's return count

    // Record.
    std::vector<std::string> calls;                // "viLock 100 <key>", "viUnlock 100", "viClose 1", ...
    std::vector<std::string> writes;               // every viWrite's bytes, exactly
    std::vector<ViUInt32> readCounts;              // the count of every viRead
    std::vector<std::string> lockKeys;

    // Called by the C functions.
    ViStatus OpenDefaultRM(ViSession* vi);
    ViStatus FindRsrc(ViFindList* list, ViUInt32* count, ViChar* descriptor);
    ViStatus FindNext(ViChar* descriptor);
    ViStatus Open(ViConstRsrc name, ViSession* vi);
    ViStatus Close(ViObject vi);
    ViStatus GetAttribute(ViObject vi, ViAttr attribute, void* value);
    ViStatus Lock(ViSession vi, ViConstKeyId key);
    ViStatus Unlock(ViSession vi);
    ViStatus Read(ViSession vi, ViPBuf buffer, ViUInt32 count, ViUInt32* received);
    ViStatus Write(ViSession vi, ViConstBuf buffer, ViUInt32 count);

private:
    const FakeResource* ResourceOf(ViObject vi) const;

    VisaFunctions m_functions;
    std::size_t m_findPosition = 0;
};

}  // namespace stratigon::test
