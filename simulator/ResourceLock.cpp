#include "simulator/ResourceLock.h"

#include "simulator/VisaAttributes.h"
#include "simulator/VisaStatus.h"

#include <atomic>

namespace stratigon::sim {
namespace {

std::string GeneratedKey()
{
    static std::atomic<unsigned> counter{0};
    return "stratigon-sim-key-" + std::to_string(++counter);
}

// The key goes back to the caller in a buffer of VI_FIND_BUFLEN characters; a longer one is
// cut to what fits there, so that the key handed back is the key of the lock.
std::string KeyOf(ViConstKeyId requested)
{
    return std::string(requested).substr(0, VI_FIND_BUFLEN - 1);
}

}  // namespace

ViStatus ResourceLock::Lock(ViSession session, ViAccessMode type, ViConstKeyId requestedKey, std::string& accessKey)
{
    if (type != VI_EXCLUSIVE_LOCK && type != VI_SHARED_LOCK) {
        return VI_ERROR_INV_LOCK_TYPE;
    }
    if (heldElsewhere_ || (exclusiveOwner_ != 0 && exclusiveOwner_ != session)) {
        return VI_ERROR_RSRC_LOCKED;
    }
    return type == VI_EXCLUSIVE_LOCK ? LockExclusive(session) : LockShared(session, requestedKey, accessKey);
}

ViStatus ResourceLock::LockExclusive(ViSession session)
{
    if (exclusiveOwner_ == session) {
        ++exclusiveDepth_;
        return VI_SUCCESS_NESTED_EXCLUSIVE;
    }
    if (OthersShare(session)) {
        return VI_ERROR_RSRC_LOCKED;
    }
    exclusiveOwner_ = session;
    exclusiveDepth_ = 1;
    return VI_SUCCESS;
}

ViStatus ResourceLock::LockShared(ViSession session, ViConstKeyId requestedKey, std::string& accessKey)
{
    if (HoldsShared(session)) {
        if (requestedKey != nullptr && sharedKey_ != KeyOf(requestedKey)) {
            return VI_ERROR_INV_ACCESS_KEY;
        }
        ++sharedDepth_[session];
        accessKey = sharedKey_;
        return VI_SUCCESS_NESTED_SHARED;
    }
    const std::string key = requestedKey != nullptr ? KeyOf(requestedKey) : GeneratedKey();
    if (!sharedDepth_.empty() && key != sharedKey_) {
        return VI_ERROR_RSRC_LOCKED;
    }
    sharedKey_ = key;
    sharedDepth_[session] = 1;
    accessKey = key;
    return VI_SUCCESS;
}

// The exclusive lock goes first: it is the stronger claim and usually the most recent one.
ViStatus ResourceLock::Unlock(ViSession session)
{
    if (exclusiveOwner_ == session) {
        if (--exclusiveDepth_ == 0) {
            exclusiveOwner_ = 0;
        }
        return StillHeld(session);
    }
    if (!HoldsShared(session)) {
        return VI_ERROR_SESN_NLOCKED;
    }
    if (--sharedDepth_[session] == 0) {
        sharedDepth_.erase(session);
    }
    if (sharedDepth_.empty()) {
        sharedKey_.clear();
    }
    return StillHeld(session);
}

void ResourceLock::Release(ViSession session)
{
    while (Unlock(session) != VI_ERROR_SESN_NLOCKED) {
    }
}

bool ResourceLock::Permits(ViSession session) const
{
    if (heldElsewhere_ || (exclusiveOwner_ != 0 && exclusiveOwner_ != session)) {
        return false;
    }
    return exclusiveOwner_ == session || sharedDepth_.empty() || HoldsShared(session);
}

ViAccessMode ResourceLock::State() const
{
    if (heldElsewhere_ || exclusiveOwner_ != 0) {
        return VI_EXCLUSIVE_LOCK;
    }
    return sharedDepth_.empty() ? VI_NO_LOCK : VI_SHARED_LOCK;
}

ViStatus ResourceLock::StillHeld(ViSession session) const
{
    if (exclusiveOwner_ == session) {
        return VI_SUCCESS_NESTED_EXCLUSIVE;
    }
    return HoldsShared(session) ? VI_SUCCESS_NESTED_SHARED : VI_SUCCESS;
}

bool ResourceLock::HoldsShared(ViSession session) const
{
    return sharedDepth_.count(session) != 0;
}

bool ResourceLock::OthersShare(ViSession session) const
{
    return sharedDepth_.size() > (HoldsShared(session) ? 1U : 0U);
}

}  // namespace stratigon::sim
