// The host's document: layers, each with its layer group, and a tree of art objects.
//
// Objects live in a table keyed by their handle value; a handle is never reused, so a handle whose object
// was disposed (or removed by undo) is recognisably stale. Children form a doubly linked list from the
// topmost object (first child) down to the bottom one, as the host's art walk sees them.
//
// Every mutation goes through a member of Document that first calls touch() on what it changes, so an
// undo journal can record the state before the change at the cost of what was touched. A pointer from
// edit() is for the change at hand: changes made through it after a later call on the document are not
// seen by the document's counters and index.
//
// A container's selection counters take in its children's changes lazily: touch() notes the child's bits
// and place as they were counted, and settleSelectionCounts() (run before the counters are read, and by
// the journal at the edges of each transaction so that every counter change is journaled) adds the
// difference. Objects changed through edit() (file loading sets attributes that way) are counted right.
#pragma once

#include "cc_types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace minihost {

using ObjectId = std::uint64_t; // 0 is "no object"

struct Rgb {
    double r = 0, g = 0, b = 0; // 0..1
    bool operator==(const Rgb&) const = default;
};

struct PathStyle {
    std::optional<Rgb> fill = Rgb{};
    std::optional<Rgb> stroke;
    double strokeWidth = 1.0;
    bool evenOdd = false;
    bool operator==(const PathStyle&) const = default;
};

struct Art {
    ObjectId id = 0;
    std::int16_t type = kCCUnknownArt;
    std::string name;        // the document's own id ("p1"); may be empty
    std::int32_t attrs = 0;  // kCCArt* bits
    ObjectId parent = 0;     // 0 for a layer group
    ObjectId firstChild = 0; // topmost child
    ObjectId lastChild = 0;  // bottom child
    ObjectId prev = 0;       // sibling above
    ObjectId next = 0;       // sibling below
    ObjectId layer = 0;      // the layer this object belongs to
    // Order among siblings, increasing from the topmost down; compares paint order without walking lists.
    std::uint64_t rank = 0;

    // Containers: how many children they hold and how many of those are selected and fully selected,
    // so that a child's change updates the container's selection without a look at its siblings.
    std::int32_t childCount = 0;
    std::int32_t selectedChildren = 0;
    std::int32_t fullySelectedChildren = 0;

    // paths
    std::vector<CCPathSegment> segments;
    std::vector<std::int16_t> selection; // one SegmentSelectionState per anchor
    bool closed = false;
    bool guide = false;
    PathStyle style;

    // groups
    bool clipped = false;

    // keys of the file this object came from that the host does not interpret, kept for saving (JSON text)
    std::string extra;
};

struct Layer {
    ObjectId id = 0;
    std::string name;
    bool editable = true;
    bool visible = true;
    ObjectId group = 0; // the layer group
};

// Receives the state before each change; the undo journal implements it.
class ChangeObserver {
public:
    virtual ~ChangeObserver() = default;
    virtual void willChange(const Art& before) = 0;            // an existing object is about to change
    virtual void didCreate(ObjectId id) = 0;                   // a new object exists
    virtual void willDispose(std::unique_ptr<Art> removed) = 0; // an object leaves the document
    virtual void willChangeLayer(const Layer& before) = 0;
};

class PathIndex;
struct PointBox;

class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    double width = 612, height = 792;
    std::string units = "pt"; // pt, in, cm, mm, px, H (ruler units)

    // ---- layers (index 0 is the topmost layer) ----
    ObjectId addLayer(const std::string& name, bool editable = true, bool visible = true); // added below all others
    const std::vector<Layer>& layers() const { return layers_; }
    Layer* layer(ObjectId id);
    const Layer* layer(ObjectId id) const;
    ObjectId currentLayer() const { return currentLayer_; }
    void setCurrentLayer(ObjectId id);
    void setLayerFlags(ObjectId id, bool editable, bool visible);

    // ---- objects ----
    const Art* get(ObjectId id) const;
    bool valid(ObjectId id) const { return get(id) != nullptr; }
    // A mutable object; records its state before the change. Null when the handle is stale.
    Art* edit(ObjectId id);

    // Creates an object placed relative to prep (kCCPlace*). prep 0 with kCCPlaceAboveAll / BelowAll or
    // inside placements means the current layer's group. Returns 0 when the placement is impossible.
    ObjectId create(std::int16_t type, std::int16_t paintOrder, ObjectId prep);
    // Moves an object to a new place; false when the move is impossible (into itself, layer group).
    bool reorder(ObjectId id, std::int16_t paintOrder, ObjectId prep);
    // Removes an object and its whole subtree. Layer groups cannot be disposed.
    bool dispose(ObjectId id);
    // Deep copy placed relative to prep.
    ObjectId duplicate(ObjectId id, std::int16_t paintOrder, ObjectId prep);

    // Children top first.
    std::vector<ObjectId> children(ObjectId id) const;
    // Depth-first walk over every object of every layer (layers top first, each tree from its topmost
    // object, parent before children), including the layer groups. The visitor returns false to stop.
    void walk(const std::function<bool(const Art&)>& visit) const;
    std::size_t objectCount() const { return objects_.size(); }

    // The paths whose box comes within tol of p, in the order the walk visits them (topmost first).
    // Only these can be hit at p with that tolerance; paths not reachable from a layer are left out.
    std::vector<ObjectId> pathsNear(const CCRealPoint& p, double tol) const;
    // The box the index keeps for a path pathsNear returned, until the next change; null for others.
    const PointBox* indexedBox(ObjectId id) const;

    // ---- selection as a user makes it ----
    // Attribute change with the host's selection rules: selecting a path selects all its anchors when none
    // is, deselecting clears them; containers are selected while any descendant is.
    void setAttrs(ObjectId id, std::int32_t mask, std::int32_t value);
    // Selects an object wholly (bits 1 and 8 on it and every descendant, every anchor of its paths).
    void selectWhole(ObjectId id);
    void deselectAll();
    // Sets one anchor's selection state and keeps the object's selected bit consistent.
    bool setAnchorSelection(ObjectId path, int index, std::int16_t state);

    // Finds the object with a document id; 0 when none.
    ObjectId findByName(const std::string& name) const;

    void setObserver(ChangeObserver* observer) { observer_ = observer; }
    ChangeObserver* observer() const { return observer_; }

    // Journal support: put an object back as it was (replacing or re-inserting it) and drop a created one.
    void restore(std::unique_ptr<Art> art);
    void forget(ObjectId id);
    void restoreLayer(const Layer& layer);
    // Brings every container's selection counters up to date with its children.
    void settleSelectionCounts();
    // Forgets the pending counter changes: the journal calls it after putting back a transaction's start,
    // which was settled.
    void dropPendingCounts() { uncounted_.clear(); }

private:
    void touch(Art& art);
    void unlink(Art& art);
    bool link(Art& art, std::int16_t paintOrder, ObjectId prep);
    ObjectId resolveContainer(ObjectId prep) const;
    void refreshContainerSelection(ObjectId from);
    ObjectId copyTree(const Art& src, std::int16_t paintOrder, ObjectId prep);
    void assignRank(Art& art, ObjectId parentId);
    void noteRemoved(ObjectId id);

    // An object's selection bits and parent as its parent's counters last took them in.
    struct Counted {
        ObjectId parent = 0;
        std::int32_t bits = 0;
    };

    std::unordered_map<ObjectId, std::unique_ptr<Art>> objects_;
    std::vector<Layer> layers_;
    ObjectId currentLayer_ = 0;
    ChangeObserver* observer_ = nullptr;
    std::unordered_map<ObjectId, Counted> uncounted_; // touched since the counters last looked
    std::unique_ptr<PathIndex> index_;       // built by the first query
};

// A process-wide source of handle values so that handles of different documents never collide.
ObjectId nextObjectId();

// Handle conversion at the suite boundary.
inline CCArtHandle toHandle(ObjectId id) { return reinterpret_cast<CCArtHandle>(static_cast<std::uintptr_t>(id)); }
inline ObjectId fromHandle(CCArtHandle h) { return static_cast<ObjectId>(reinterpret_cast<std::uintptr_t>(h)); }
inline CCLayerHandle toLayerHandle(ObjectId id) { return reinterpret_cast<CCLayerHandle>(static_cast<std::uintptr_t>(id)); }
inline ObjectId fromLayerHandle(CCLayerHandle h) { return static_cast<ObjectId>(reinterpret_cast<std::uintptr_t>(h)); }

bool isContainerType(std::int16_t type);

} // namespace minihost
