#pragma once

#include "catalogue/tag_class.h"
#include "weapon/weapon_struct.h"

// The tree files a record's references of a known class under that class's category, in slot
// order, and nothing else there: so the n-th item under a category is the n-th slot of its class.

// The class the tree files a reference under, or nullptr for one it does not show.
const TagClass* ClassOfReference(const TagReference& ref);

// The slot of the n-th reference of the class, counted from 0 in slot order, or nullptr.
TagReference* NthReferenceOfClass(const WeaponStruct& record, const TagClass& tagClass, int n);

// How many references of the class the record holds.
int ReferencesOfClass(const WeaponStruct& record, const TagClass& tagClass);

// The place of a slot's reference among those of its class, as the tree shows it.
int PositionOfSlot(const WeaponStruct& record, int slot);

// Points a reference at a catalogue row, or at no tag for -1: its identifier and name pointer;
// its class and reserved bytes stay.
void PointAtRow(TagReference& ref, int row);
