// The VISA objects handed out by the simulated library: resource manager sessions, instrument
// sessions and find lists, each with the resource manager it was opened through.
#pragma once

#include "instrument/VisaTypes.h"
#include "simulator/SessionSettings.h"

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

namespace stratigon::sim {

class SessionTable {
public:
    enum class Kind { ResourceManager, Instrument, FindList };

    struct Entry {
        Kind kind = Kind::ResourceManager;
        ViSession owner = 0;
        // Instrument sessions: the bench index of their resource.
        std::size_t instrument = 0;
        // Find lists: bench indexes of the matching resources and the next one to hand out.
        std::vector<std::size_t> found{};
        std::size_t next = 0;
        // Instrument sessions: what the program set through viSetAttribute.
        SessionSettings settings{};
    };

    struct Closed {
        ViSession id;
        Entry entry;
    };

    ViSession Add(Entry entry);
    Entry* Find(ViObject id, Kind kind);
    Entry* Find(ViObject id);
    // Closing a resource manager closes everything opened through it; nothing when the id
    // is unknown.
    std::optional<std::vector<Closed>> Close(ViObject id);
    // Forgets every object; their ids are never handed out again.
    void Clear();

private:
    std::map<ViObject, Entry> entries_;
    // Ids look like handles and never repeat within a process, so a stale id cannot reach
    // a newer session by accident.
    ViObject nextId_ = 0x1001;
};

}  // namespace stratigon::sim
