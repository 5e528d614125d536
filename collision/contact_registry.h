#pragma once

#include "world/world.h"

// The contact registry changes only through these two functions and the
// resolution walk, which ends with ClearContacts: they keep the index of the
// registry that FindContact uses in step with it.

// Appends a contact of kind EdgeContact with the given fields (edgeA and edgeB
// may be null) and returns it; a caller recording another kind sets `kind` at
// once. The contact is also the registry's current element.
Contact* CreateContact(World& world, Particle* edgeA, Particle* edgeB, Particle* particle,
                       const Vec2& penetration);

// Whether a contact of the current pass matches the probe, which is a value
// held by the caller. Contacts are compared by particle identifiers:
// - when either is a wall contact, their particles alone decide;
// - two edge contacts match when their particles agree and the existing
//   contact's edgeA is one of the probe's two edge ends.
// So a particle gets at most one wall contact per pass, and none on an edge
// once it has a wall contact.
bool FindContact(World& world, const Contact& probe);

// Empties the registry.
void ClearContacts(World& world);
