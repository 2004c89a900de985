#include "Document.h"

#include "PathIndex.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace minihost {

ObjectId nextObjectId()
{
    static std::atomic<ObjectId> counter{0x1000};
    return counter.fetch_add(1);
}

bool isContainerType(std::int16_t type)
{
    return type == kCCGroupArt || type == kCCCompoundPathArt || type == kCCTextPathArt;
}

namespace {

constexpr std::int32_t kSelectionBits = kCCArtSelected | kCCArtFullySelected;
constexpr std::uint64_t kRankGap = std::uint64_t(1) << 32;
constexpr std::uint64_t kFirstRank = std::uint64_t(1) << 63;

} // namespace

Document::Document() : index_(std::make_unique<PathIndex>()) {}
Document::~Document() = default;

ObjectId Document::addLayer(const std::string& name, bool editable, bool visible)
{
    Layer layer;
    layer.id = nextObjectId();
    layer.name = name;
    layer.editable = editable;
    layer.visible = visible;
    auto group = std::make_unique<Art>();
    group->id = nextObjectId();
    group->type = kCCGroupArt;
    group->layer = layer.id;
    layer.group = group->id;
    if (observer_)
        observer_->didCreate(group->id);
    objects_.emplace(group->id, std::move(group));
    layers_.push_back(layer);
    if (currentLayer_ == 0)
        currentLayer_ = layer.id;
    return layer.id;
}

Layer* Document::layer(ObjectId id)
{
    for (auto& l : layers_)
        if (l.id == id)
            return &l;
    return nullptr;
}

const Layer* Document::layer(ObjectId id) const
{
    return const_cast<Document*>(this)->layer(id);
}

void Document::setCurrentLayer(ObjectId id)
{
    if (layer(id))
        currentLayer_ = id;
}

void Document::setLayerFlags(ObjectId id, bool editable, bool visible)
{
    Layer* l = layer(id);
    if (!l)
        return;
    if (observer_)
        observer_->willChangeLayer(*l);
    l->editable = editable;
    l->visible = visible;
}

void Document::restoreLayer(const Layer& before)
{
    if (Layer* l = layer(before.id))
        *l = before;
}

const Art* Document::get(ObjectId id) const
{
    auto it = objects_.find(id);
    return it == objects_.end() ? nullptr : it->second.get();
}

void Document::touch(Art& art)
{
    if (observer_)
        observer_->willChange(art);
    uncounted_.try_emplace(art.id, Counted{art.parent, art.attrs & kSelectionBits});
    index_->changed(art.id);
}

void Document::noteRemoved(ObjectId id)
{
    index_->changed(id);
}

Art* Document::edit(ObjectId id)
{
    auto it = objects_.find(id);
    if (it == objects_.end())
        return nullptr;
    touch(*it->second);
    return it->second.get();
}

ObjectId Document::resolveContainer(ObjectId prep) const
{
    if (prep != 0)
        return prep;
    const Layer* l = layer(currentLayer_);
    return l ? l->group : 0;
}

void Document::unlink(Art& art)
{
    if (art.parent == 0)
        return;
    Art* parent = edit(art.parent);
    if (art.prev) {
        Art* p = edit(art.prev);
        p->next = art.next;
    } else if (parent) {
        parent->firstChild = art.next;
    }
    if (art.next) {
        Art* n = edit(art.next);
        n->prev = art.prev;
    } else if (parent) {
        parent->lastChild = art.prev;
    }
    touch(art);
    art.parent = art.prev = art.next = 0;
}

static void setLayerOfTree(Document& doc, Art& art, ObjectId layer)
{
    if (art.layer == layer)
        return;
    art.layer = layer;
    for (ObjectId c = art.firstChild; c != 0;) {
        Art* child = doc.edit(c);
        setLayerOfTree(doc, *child, layer);
        c = child->next;
    }
}

bool Document::link(Art& art, std::int16_t paintOrder, ObjectId prep)
{
    ObjectId parentId = 0, before = 0, after = 0; // insert between `after` (above) and `before` (below)
    switch (paintOrder) {
    case kCCPlaceAbove:
    case kCCPlaceBelow: {
        const Art* ref = get(prep);
        if (!ref || ref->parent == 0)
            return false;
        parentId = ref->parent;
        if (paintOrder == kCCPlaceAbove) {
            after = ref->prev;
            before = ref->id;
        } else {
            after = ref->id;
            before = ref->next;
        }
        break;
    }
    case kCCPlaceInsideOnTop:
    case kCCPlaceInsideOnBottom:
    case kCCPlaceAboveAll:
    case kCCPlaceBelowAll: {
        ObjectId container = (paintOrder == kCCPlaceAboveAll || paintOrder == kCCPlaceBelowAll) ? resolveContainer(0)
                                                                                                : resolveContainer(prep);
        const Art* c = get(container);
        if (!c || !isContainerType(c->type))
            return false;
        parentId = container;
        if (paintOrder == kCCPlaceInsideOnTop || paintOrder == kCCPlaceAboveAll)
            before = c->firstChild;
        else
            after = c->lastChild;
        break;
    }
    default:
        return false;
    }
    // An object cannot be placed inside itself or its own descendants.
    for (ObjectId a = parentId; a != 0; a = get(a)->parent)
        if (a == art.id)
            return false;

    Art* parent = edit(parentId);
    touch(art);
    art.parent = parentId;
    art.prev = after;
    art.next = before;
    if (after)
        edit(after)->next = art.id;
    else
        parent->firstChild = art.id;
    if (before)
        edit(before)->prev = art.id;
    else
        parent->lastChild = art.id;
    assignRank(art, parentId);
    setLayerOfTree(*this, art, parent->layer);
    return true;
}

// A rank between the neighbours'; new objects at either end step a fixed gap away, so ranks run out only
// after many insertions at one place, and then the whole list is spread out again.
void Document::assignRank(Art& art, ObjectId parentId)
{
    const Art* above = get(art.prev);
    const Art* below = get(art.next);
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (!above && !below) {
        art.rank = kFirstRank;
        return;
    }
    if (!above && below->rank >= 1) {
        art.rank = below->rank > kRankGap ? below->rank - kRankGap : below->rank / 2;
        return;
    }
    if (!below && above->rank < kMax) {
        std::uint64_t room = kMax - above->rank;
        art.rank = above->rank + (room > kRankGap ? kRankGap : (room + 1) / 2);
        return;
    }
    if (above && below && below->rank - above->rank >= 2) {
        art.rank = above->rank + (below->rank - above->rank) / 2;
        return;
    }
    std::uint64_t next = 0;
    for (ObjectId c = get(parentId)->firstChild; c != 0;) {
        Art& child = *objects_.find(c)->second;
        touch(child);
        child.rank = (next += kRankGap);
        c = child.next;
    }
}

ObjectId Document::create(std::int16_t type, std::int16_t paintOrder, ObjectId prep)
{
    auto art = std::make_unique<Art>();
    art->id = nextObjectId();
    art->type = type;
    Art* raw = art.get();
    ObjectId id = art->id;
    objects_.emplace(id, std::move(art));
    if (observer_)
        observer_->didCreate(id);
    if (!link(*raw, paintOrder, prep)) {
        objects_.erase(id);
        noteRemoved(id);
        return 0;
    }
    return id;
}

bool Document::reorder(ObjectId id, std::int16_t paintOrder, ObjectId prep)
{
    Art* art = edit(id);
    if (!art || art->parent == 0 || prep == id)
        return false;
    // Check the destination before unlinking so that a refused move changes nothing.
    ObjectId dest = (paintOrder == kCCPlaceAbove || paintOrder == kCCPlaceBelow)
                        ? (get(prep) ? get(prep)->parent : 0)
                        : resolveContainer((paintOrder == kCCPlaceAboveAll || paintOrder == kCCPlaceBelowAll) ? 0 : prep);
    if (dest == 0 || !get(dest) || !isContainerType(get(dest)->type))
        return false;
    for (ObjectId a = dest; a != 0; a = get(a)->parent)
        if (a == id)
            return false;
    unlink(*art);
    link(*art, paintOrder, prep);
    refreshContainerSelection(art->parent);
    return true;
}

bool Document::dispose(ObjectId id)
{
    Art* art = edit(id);
    if (!art || art->parent == 0)
        return false;
    ObjectId parent = art->parent;
    unlink(*art);
    // Remove the subtree, children first.
    std::vector<ObjectId> order;
    std::vector<ObjectId> stack{id};
    while (!stack.empty()) {
        ObjectId cur = stack.back();
        stack.pop_back();
        order.push_back(cur);
        for (ObjectId c = get(cur)->firstChild; c != 0; c = get(c)->next)
            stack.push_back(c);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        auto node = objects_.find(*it);
        std::unique_ptr<Art> removed = std::move(node->second);
        objects_.erase(node);
        noteRemoved(*it);
        if (observer_)
            observer_->willDispose(std::move(removed));
    }
    refreshContainerSelection(parent);
    return true;
}

ObjectId Document::copyTree(const Art& src, std::int16_t paintOrder, ObjectId prep)
{
    ObjectId id = create(src.type, paintOrder, prep);
    if (id == 0)
        return 0;
    Art* copy = edit(id);
    copy->name = src.name;
    copy->attrs = src.attrs;
    copy->segments = src.segments;
    copy->selection = src.selection;
    copy->closed = src.closed;
    copy->guide = src.guide;
    copy->style = src.style;
    copy->clipped = src.clipped;
    copy->extra = src.extra;
    // Children keep their order: each goes to the bottom of the copy.
    for (ObjectId c = src.firstChild; c != 0; c = get(c)->next)
        copyTree(*get(c), kCCPlaceInsideOnBottom, id);
    return id;
}

ObjectId Document::duplicate(ObjectId id, std::int16_t paintOrder, ObjectId prep)
{
    const Art* src = get(id);
    if (!src || src->parent == 0)
        return 0;
    Art snapshot = *src; // the source may move in the table while the copy grows
    ObjectId copy = copyTree(snapshot, paintOrder, prep);
    if (copy)
        refreshContainerSelection(get(copy)->parent);
    return copy;
}

std::vector<ObjectId> Document::children(ObjectId id) const
{
    std::vector<ObjectId> out;
    const Art* a = get(id);
    if (!a)
        return out;
    for (ObjectId c = a->firstChild; c != 0; c = get(c)->next)
        out.push_back(c);
    return out;
}

void Document::walk(const std::function<bool(const Art&)>& visit) const
{
    std::vector<ObjectId> stack;
    for (const Layer& l : layers_) {
        stack.assign(1, l.group);
        while (!stack.empty()) {
            const Art* a = get(stack.back());
            stack.pop_back();
            if (!visit(*a))
                return;
            // Push children bottom first so the topmost is visited first.
            for (ObjectId c = a->lastChild; c != 0; c = get(c)->prev)
                stack.push_back(c);
        }
    }
}

std::vector<ObjectId> Document::pathsNear(const CCRealPoint& p, double tol) const
{
    std::vector<ObjectId> found;
    index_->near(*this, p, tol, found);
    // Paint order is the order of the keys (layer place, then each rank from the layer group down).
    std::vector<std::pair<std::vector<std::uint64_t>, ObjectId>> keyed;
    keyed.reserve(found.size());
    for (ObjectId id : found) {
        std::vector<std::uint64_t> key;
        const Art* a = get(id);
        for (; a && a->parent != 0; a = get(a->parent))
            key.push_back(a->rank);
        if (!a)
            continue;
        auto l = std::find_if(layers_.begin(), layers_.end(), [&](const Layer& layer) { return layer.group == a->id; });
        if (l == layers_.end())
            continue;
        key.push_back(static_cast<std::uint64_t>(l - layers_.begin()));
        std::reverse(key.begin(), key.end());
        keyed.emplace_back(std::move(key), id);
    }
    std::sort(keyed.begin(), keyed.end());
    found.clear();
    for (const auto& [key, id] : keyed)
        found.push_back(id);
    return found;
}

const PointBox* Document::indexedBox(ObjectId id) const
{
    return index_->box(id);
}

void Document::settleSelectionCounts()
{
    auto count = [&](const Counted& c, std::int32_t delta) {
        auto it = c.parent != 0 ? objects_.find(c.parent) : objects_.end();
        if (it == objects_.end())
            return; // not in a container, or the container is gone too
        Art& parent = *it->second;
        touch(parent);
        parent.childCount += delta;
        parent.selectedChildren += (c.bits & kCCArtSelected) ? delta : 0;
        parent.fullySelectedChildren += (c.bits & kCCArtFullySelected) ? delta : 0;
    };
    // Counting into a parent touches it, which notes the parent too; its own place and bits are unchanged,
    // so the loop ends.
    while (!uncounted_.empty()) {
        auto node = uncounted_.extract(uncounted_.begin());
        const Counted was = node.mapped();
        const Art* a = get(node.key());
        const Counted now{a ? a->parent : 0, a ? a->attrs & kSelectionBits : 0};
        if (now.parent == was.parent && now.bits == was.bits)
            continue;
        count(was, -1);
        count(now, +1);
    }
}

void Document::refreshContainerSelection(ObjectId from)
{
    settleSelectionCounts();
    for (ObjectId id = from; id != 0;) {
        const Art* a = get(id);
        if (!a)
            return;
        bool any = a->selectedChildren > 0;
        bool all = a->childCount > 0 && a->fullySelectedChildren == a->childCount;
        std::int32_t attrs = (a->attrs & ~kSelectionBits) | (any ? kCCArtSelected : 0) |
                             (any && all ? kCCArtFullySelected : 0);
        if (attrs != a->attrs) {
            edit(id)->attrs = attrs;
            settleSelectionCounts(); // into the parent's counters, read next
        }
        id = a->parent;
    }
}

void Document::setAttrs(ObjectId id, std::int32_t mask, std::int32_t value)
{
    const Art* cur = get(id);
    if (!cur)
        return;
    std::int32_t attrs = (cur->attrs & ~mask) | (value & mask);
    bool wasSelected = cur->attrs & kCCArtSelected;
    bool selected = attrs & kCCArtSelected;
    if (!selected)
        attrs &= ~kCCArtFullySelected;
    if (attrs == cur->attrs)
        return;
    Art* art = edit(id);
    art->attrs = attrs;
    if (art->type == kCCPathArt && wasSelected != selected) {
        bool none = true;
        for (auto s : art->selection)
            none = none && s == kCCSegmentNotSelected;
        if (!selected)
            std::fill(art->selection.begin(), art->selection.end(), std::int16_t(kCCSegmentNotSelected));
        else if (none)
            std::fill(art->selection.begin(), art->selection.end(), std::int16_t(kCCSegmentPointSelected));
    }
    refreshContainerSelection(art->parent);
}

void Document::selectWhole(ObjectId id)
{
    const Art* a = get(id);
    if (!a)
        return;
    Art* art = edit(id);
    art->attrs |= kCCArtSelected | kCCArtFullySelected;
    if (art->type == kCCPathArt)
        std::fill(art->selection.begin(), art->selection.end(), std::int16_t(kCCSegmentPointSelected));
    for (ObjectId c : children(id))
        selectWhole(c);
    refreshContainerSelection(art->parent);
}

void Document::deselectAll()
{
    std::vector<ObjectId> selected;
    walk([&](const Art& a) {
        if (a.attrs & (kCCArtSelected | kCCArtFullySelected))
            selected.push_back(a.id);
        else if (a.type == kCCPathArt)
            for (auto s : a.selection)
                if (s != kCCSegmentNotSelected) {
                    selected.push_back(a.id);
                    break;
                }
        return true;
    });
    for (ObjectId id : selected) {
        Art* art = edit(id);
        art->attrs &= ~(kCCArtSelected | kCCArtFullySelected);
        std::fill(art->selection.begin(), art->selection.end(), std::int16_t(kCCSegmentNotSelected));
    }
}

bool Document::setAnchorSelection(ObjectId path, int index, std::int16_t state)
{
    const Art* cur = get(path);
    if (!cur || cur->type != kCCPathArt || index < 0 || index >= static_cast<int>(cur->selection.size()) ||
        state < kCCSegmentNotSelected || state > kCCSegmentInAndOutSelected)
        return false;
    if (cur->selection[index] == state)
        return true;
    Art* art = edit(path);
    art->selection[index] = state;
    bool any = false, all = true;
    for (auto s : art->selection) {
        any = any || s != kCCSegmentNotSelected;
        all = all && s != kCCSegmentNotSelected;
    }
    std::int32_t attrs = art->attrs & ~(kCCArtSelected | kCCArtFullySelected);
    if (any)
        attrs |= kCCArtSelected | (all ? kCCArtFullySelected : 0);
    art->attrs = attrs;
    refreshContainerSelection(art->parent);
    return true;
}

ObjectId Document::findByName(const std::string& name) const
{
    ObjectId found = 0;
    walk([&](const Art& a) {
        if (a.parent != 0 && a.name == name) {
            found = a.id;
            return false;
        }
        return true;
    });
    return found;
}

void Document::restore(std::unique_ptr<Art> art)
{
    ObjectId id = art->id;
    objects_[id] = std::move(art);
    index_->changed(id);
}

void Document::forget(ObjectId id)
{
    objects_.erase(id);
    index_->changed(id);
}

} // namespace minihost
