#include "PathIndex.h"

#include <algorithm>
#include <cmath>

namespace minihost {

namespace {

constexpr double kCellLimit = 1 << 30;      // cell coordinates must fit a 32-bit half of a key
constexpr double kCellsAcross = 1 << 20;    // the union of all boxes spans at most this many cells
constexpr std::int64_t kMaxEntryCells = 64; // a path spanning more cells goes to the big list
constexpr std::int64_t kMaxQueryCells = 64; // a larger query (a huge tolerance) checks every entry
constexpr std::size_t kSlack = 256;         // changes below this never trigger a rebuild

} // namespace

std::uint64_t PathIndex::key(std::int64_t x, std::int64_t y)
{
    return (std::uint64_t(std::uint32_t(std::int32_t(x))) << 32) | std::uint32_t(std::int32_t(y));
}

bool PathIndex::cellRange(const PointBox& box, double margin, std::int64_t& x0, std::int64_t& y0, std::int64_t& x1,
                          std::int64_t& y1) const
{
    double l = (box.left - margin) / cell_, r = (box.right + margin) / cell_;
    double b = (box.bottom - margin) / cell_, t = (box.top + margin) / cell_;
    // Written so that NaN (from infinite or NaN coordinates or margins) fails too.
    if (!(l >= -kCellLimit && r <= kCellLimit && b >= -kCellLimit && t <= kCellLimit && l <= r && b <= t))
        return false;
    x0 = static_cast<std::int64_t>(std::floor(l));
    x1 = static_cast<std::int64_t>(std::floor(r));
    y0 = static_cast<std::int64_t>(std::floor(b));
    y1 = static_cast<std::int64_t>(std::floor(t));
    return true;
}

void PathIndex::changed(ObjectId id)
{
    if (!built_)
        return; // the first query builds from the document as it is then
    dirty_.insert(id);
    if (dirty_.size() > 4 * entries_.size() + 16 * kSlack) {
        // Cheaper to start over than to keep a record of a whole new document.
        built_ = false;
        entries_.clear();
        cells_.clear();
        big_.clear();
        dirty_.clear();
    }
}

void PathIndex::insert(ObjectId id, const PointBox& box)
{
    if (box.empty())
        return; // nothing is near it
    Entry e;
    e.box = box;
    if (!cellRange(box, 0, e.x0, e.y0, e.x1, e.y1) || (e.x1 - e.x0 + 1) * (e.y1 - e.y0 + 1) > kMaxEntryCells) {
        e.big = true;
        e.x1 = e.x0 - 1;
        big_.insert(id);
    } else {
        for (std::int64_t x = e.x0; x <= e.x1; ++x)
            for (std::int64_t y = e.y0; y <= e.y1; ++y)
                cells_[key(x, y)].push_back(id);
    }
    entries_[id] = e;
}

void PathIndex::erase(ObjectId id)
{
    auto it = entries_.find(id);
    if (it == entries_.end())
        return;
    const Entry& e = it->second;
    if (e.big)
        big_.erase(id);
    for (std::int64_t x = e.x0; x <= e.x1; ++x)
        for (std::int64_t y = e.y0; y <= e.y1; ++y) {
            auto cell = cells_.find(key(x, y));
            std::vector<ObjectId>& ids = cell->second;
            *std::find(ids.begin(), ids.end(), id) = ids.back();
            ids.pop_back();
            if (ids.empty())
                cells_.erase(cell);
        }
    entries_.erase(it);
}

void PathIndex::build(const Document& doc)
{
    entries_.clear();
    cells_.clear();
    big_.clear();
    dirty_.clear();
    std::vector<std::pair<ObjectId, PointBox>> paths;
    doc.walk([&](const Art& a) {
        if (a.type == kCCPathArt)
            paths.emplace_back(a.id, pathBox(a.segments));
        return true;
    });

    // Cells about the size of a typical path, so that most paths lie in a few cells and most cells hold
    // a few paths.
    std::vector<double> extents;
    PointBox all;
    for (const auto& [id, box] : paths) {
        if (box.empty() || !std::isfinite(box.right - box.left) || !std::isfinite(box.top - box.bottom))
            continue;
        extents.push_back(std::max(box.right - box.left, box.top - box.bottom));
        all.add({box.left, box.bottom});
        all.add({box.right, box.top});
    }
    cell_ = 1;
    if (!extents.empty()) {
        auto mid = extents.begin() + static_cast<std::ptrdiff_t>(extents.size() / 2);
        std::nth_element(extents.begin(), mid, extents.end());
        double width = all.right - all.left, height = all.top - all.bottom;
        double cell = *mid;
        if (!(cell > 0))
            cell = std::sqrt(width * height / static_cast<double>(extents.size()));
        double span = std::max(width, height);
        if (std::isfinite(span) && span / kCellsAcross > cell)
            cell = span / kCellsAcross;
        if (cell > 0 && std::isfinite(cell))
            cell_ = cell;
    }
    for (const auto& [id, box] : paths)
        insert(id, box);
    built_ = true;
    builtSize_ = entries_.size();
}

void PathIndex::sync(const Document& doc)
{
    if (!built_ || dirty_.size() > entries_.size() / 2 + kSlack) {
        build(doc);
        return;
    }
    for (ObjectId id : dirty_) {
        erase(id);
        if (const Art* a = doc.get(id); a && a->type == kCCPathArt)
            insert(id, pathBox(a->segments));
    }
    dirty_.clear();
    // A document that grew or shrank a lot gets cells of a size that fits it again.
    if (entries_.size() > 2 * builtSize_ + kSlack || 4 * entries_.size() + kSlack < builtSize_)
        build(doc);
}

void PathIndex::near(const Document& doc, const CCRealPoint& p, double tol, std::vector<ObjectId>& out)
{
    sync(doc);
    const std::size_t start = out.size();
    PointBox at;
    at.add(p);
    std::int64_t x0, y0, x1, y1;
    if (!(tol >= 0) || !cellRange(at, tol, x0, y0, x1, y1) || (x1 - x0 + 1) * (y1 - y0 + 1) > kMaxQueryCells) {
        for (const auto& [id, e] : entries_)
            if (e.box.near(p, tol))
                out.push_back(id);
        return;
    }
    for (std::int64_t x = x0; x <= x1; ++x)
        for (std::int64_t y = y0; y <= y1; ++y)
            if (auto cell = cells_.find(key(x, y)); cell != cells_.end())
                for (ObjectId id : cell->second)
                    if (entries_.find(id)->second.box.near(p, tol))
                        out.push_back(id);
    for (ObjectId id : big_)
        if (entries_.find(id)->second.box.near(p, tol))
            out.push_back(id);
    // A path spanning several of the cells was found once in each.
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(start), out.end());
    out.erase(std::unique(out.begin() + static_cast<std::ptrdiff_t>(start), out.end()), out.end());
}

} // namespace minihost
