#include "collision/contact_registry.h"

namespace {

bool SameParticle(const Particle* a, const Particle* b) { return a->id == b->id; }

bool ContactsMatch(const Contact& existing, const Contact& probe) {
    if (existing.kind == WallContact || probe.kind == WallContact) {
        return SameParticle(existing.particle, probe.particle);
    }
    // Only the existing contact's edgeA is compared, against both probe ends.
    return SameParticle(existing.particle, probe.particle) &&
           (SameParticle(existing.edgeA, probe.edgeA) || SameParticle(existing.edgeA, probe.edgeB));
}

}  // namespace

Contact* CreateContact(World& world, Particle* edgeA, Particle* edgeB, Particle* particle,
                       const Vec2& penetration) {
    Contact* contact = world.contacts.Append();
    contact->kind = EdgeContact;
    contact->edgeA = edgeA;
    contact->edgeB = edgeB;
    contact->particle = particle;
    contact->penetration = penetration;
    IndexContact(world.contactIndex, *contact);
    return contact;
}

// Every rule compares the particles first, so only the contacts of the
// probe's particle need a look. Which of them matches first does not matter.
bool FindContact(World& world, const Contact& probe) {
    return AnyContactOfParticle(world.contactIndex, probe.particle->id,
                                [&](const Contact& existing) { return ContactsMatch(existing, probe); });
}

void ClearContacts(World& world) {
    world.contacts.Clear();
    ClearContactIndex(world.contactIndex);
}
