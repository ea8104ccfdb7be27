// The VISA locks held on one simulated resource: shared locks that sessions with the same
// key hold together, or one session's exclusive lock, nested as often as the holder asks.
#pragma once

#include "instrument/VisaTypes.h"

#include <map>
#include <string>

namespace stratigon::sim {

class ResourceLock {
public:
    // heldElsewhere: another program holds an exclusive lock that nothing here releases.
    explicit ResourceLock(bool heldElsewhere = false) : heldElsewhere_(heldElsewhere) {}

    // requestedKey may be null: a shared lock then gets a key of its own. accessKey receives
    // the key of the shared lock the session now holds.
    ViStatus Lock(ViSession session, ViAccessMode type, ViConstKeyId requestedKey, std::string& accessKey);
    ViStatus Unlock(ViSession session);
    // Frees every lock of a session that is being closed.
    void Release(ViSession session);
    // Whether the session may talk to the resource: nobody else holds it, or it shares the lock.
    bool Permits(ViSession session) const;
    // VI_EXCLUSIVE_LOCK, VI_SHARED_LOCK or VI_NO_LOCK, whoever holds it.
    ViAccessMode State() const;

private:
    ViStatus LockExclusive(ViSession session);
    ViStatus LockShared(ViSession session, ViConstKeyId requestedKey, std::string& accessKey);
    ViStatus StillHeld(ViSession session) const;
    bool HoldsShared(ViSession session) const;
    bool OthersShare(ViSession session) const;

    bool heldElsewhere_;
    ViSession exclusiveOwner_ = 0;
    int exclusiveDepth_ = 0;
    std::string sharedKey_;
    std::map<ViSession, int> sharedDepth_;
};

}  // namespace stratigon::sim
