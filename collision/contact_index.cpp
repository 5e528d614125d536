#include "collision/contact_index.h"

#include "world/records.h"

void IndexContact(ContactIndex& index, const Contact& contact) {
    const int32_t id = contact.particle->id;
    if (id < 0) {
        return;
    }
    if (static_cast<std::size_t>(id) >= index.particlePass.size()) {
        index.particlePass.resize(id + 1, 0);
        index.newestEntry.resize(id + 1, -1);
    }
    if (index.particlePass[id] != index.pass) {
        index.particlePass[id] = index.pass;
        index.newestEntry[id] = -1;
    }
    const int32_t edgeAId = contact.edgeA != nullptr ? contact.edgeA->id : -1;
    index.entries.push_back({&contact, edgeAId, index.newestEntry[id]});
    index.newestEntry[id] = static_cast<int32_t>(index.entries.size() - 1);
}

void ClearContactIndex(ContactIndex& index) {
    index.entries.clear();
    index.pass = index.pass + 1;
    // After four billion passes the stamps come round again: start afresh.
    if (index.pass == 0) {
        index.particlePass.assign(index.particlePass.size(), 0);
        index.pass = 1;
    }
}
