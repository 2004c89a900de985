// Gathering the selection and the attribute checks that go with it.
//
// Selection lists are the host's memory handles (an array of object handles); a list a routine returns
// belongs to the caller, who disposes it with the MdMemory suite. On failure the routines dispose the
// list themselves and set the caller's handle to null.
#pragma once

#include "PathModel.h"

#include <cstdint>

namespace curvicraft {

// True when the object's selected bit is set; false for a null handle or when the host fails.
bool artIsSelected(ArtHandle art);

// The selected groups, compound paths and paths, in that order of request. Paths add their anchor counts
// to totalAnchors; every group or compound path must pass checkGroupEditable. Objects without a parent
// (layer groups) are skipped. '!sel' when nothing is selected or no path is among the objects; 'iUnT' for
// a locked or hidden child.
CCErr collectSelectedPaths(CCMemoryHandle* list, std::int32_t* count, std::int32_t* totalAnchors);

// The selected paths, placed, raster and mystery-path objects. '!sel' when there are none; 'iUnT' when the
// first object that has a parent is locked or hidden (the others are not examined).
CCErr collectSelectionForTransform(CCMemoryHandle* list, std::int32_t* count);

// 'iUnT' when a direct child of the group is locked or hidden; nested containers are not entered.
CCErr checkGroupEditable(ArtHandle group);

// Clears the selected bit of every selected object.
CCErr deselectAllArt();

// Selects the object as a whole and, depth first, every descendant inside groups and compound paths.
CCErr selectArtTree(ArtHandle art);

// 'fLtP' when the path's parent is a type-on-a-path object selected as a whole, else 0.
CCErr checkNotOnTextPath(ArtHandle path);

// When the parent is a type-on-a-path object selected as a whole, clears the selected-as-a-whole bit on
// the parent and on the path and sets released to 1; otherwise released is 0 and nothing changes.
CCErr releaseTextPathSelection(ArtHandle path, CCBool32* released);

// The object array of a selection list (valid until the list is disposed).
CCErr selectionListArt(CCMemoryHandle list, ArtHandle** art);

// Reads an object's type as the named enum.
CCErr getArtType(ArtHandle art, ArtType* type);

} // namespace curvicraft
