#include "simulator/SessionTable.h"

namespace stratigon::sim {

ViSession SessionTable::Add(Entry entry)
{
    const ViSession id = nextId_++;
    entries_.emplace(id, std::move(entry));
    return id;
}

SessionTable::Entry* SessionTable::Find(ViObject id, Kind kind)
{
    Entry* entry = Find(id);
    return entry != nullptr && entry->kind == kind ? entry : nullptr;
}

SessionTable::Entry* SessionTable::Find(ViObject id)
{
    const auto found = entries_.find(id);
    return found == entries_.end() ? nullptr : &found->second;
}

std::optional<std::vector<SessionTable::Closed>> SessionTable::Close(ViObject id)
{
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return std::nullopt;
    }
    std::vector<Closed> closed{{id, found->second}};
    entries_.erase(found);
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.owner == id) {
            closed.push_back({it->first, it->second});
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
    return closed;
}

void SessionTable::Clear()
{
    entries_.clear();
}

}  // namespace stratigon::sim
