#include "collision/contact_registry.h"

#include "collision/contact_index.h"

namespace {

// The matching rule for a contact E of the probe's own particle (every
// contact the index lists for it): a wall contact on either side matches;
// two edge contacts match when E's edgeA is one of the probe's two edge ends.
// E's edgeB is not compared.
bool MatchesProbe(const ContactIndex::Entry& existing, const Contact& probe) {
    if (existing.contact->kind == WallContact || probe.kind == WallContact) {
        return true;
    }
    return existing.edgeAId == probe.edgeA->id || existing.edgeAId == probe.edgeB->id;
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
    return AnyContactOfParticle(
        world.contactIndex, probe.particle->id,
        [&](const ContactIndex::Entry& existing) { return MatchesProbe(existing, probe); });
}

void ClearContacts(World& world) {
    world.contacts.Clear();
    ClearContactIndex(world.contactIndex);
}
