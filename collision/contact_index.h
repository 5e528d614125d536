#pragma once

// The contacts of the current pass, indexed by the identifier of their
// penetrating particle, so that FindContact looks only at that particle's few
// contacts instead of walking the whole registry. Every matching rule of
// FindContact compares the particles first, so nothing is missed. The storage
// is kept from pass to pass: a pass allocates nothing once it has grown.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/scratch.h"

struct Contact;

void IndexContact(ContactIndex& index, const Contact& contact);

// Forgets every contact at once.
void ClearContactIndex(ContactIndex& index);

// Calls visit(entry) for each indexed contact of the particle until it returns true.
template <typename Visit>
bool AnyContactOfParticle(const ContactIndex& index, int32_t particleId, Visit visit) {
    if (particleId < 0 || static_cast<std::size_t>(particleId) >= index.particlePass.size() ||
        index.particlePass[particleId] != index.pass) {
        return false;
    }
    for (int32_t e = index.newestEntry[particleId]; e >= 0; e = index.entries[e].next) {
        if (visit(index.entries[e])) {
            return true;
        }
    }
    return false;
}
