#pragma once

// Friction along the contacts of one pass. Separation is already done by the
// detectors; what is left is to damp sliding along the touching surface. The
// motion of a particle so far in the step is position - previous, so moving a
// particle against its sliding shortens this step's motion and, through the
// next step's velocity, slows it.

#include "world/world.h"

// Resolves every contact of the pass in the order recorded, each on the
// positions the ones before it left, then empties the registry.
void ResolveContacts(World& world);

// A particle sliding along an edge of another body: the edge's ends and the
// particle are moved against their relative sliding, by a step that grows
// with the depth of the contact.
void ResolveEdgeContact(World& world, const Contact& contact);

// A particle sliding along a wall loses friction / IterationCount pixels of
// its sliding per contact, or all of it when it slid less than that.
void ResolveWallContact(World& world, const Contact& contact);
