// A spatial index over the paths of one document, so that a hit test looks only at the paths near the
// point instead of every object.
//
// Each path is kept with its box (the box around its anchors and handles, as the hit test computes it) in
// the cells of a uniform grid; paths spanning many cells, or with coordinates the grid cannot hold, sit in
// a list that every query checks. The index never reads the document on its own: the document reports
// each object it touches, restores or removes, and the next query re-reads just those objects. It is built
// at the first query and rebuilt when the document has grown or changed so much that the cell size no
// longer fits.
#pragma once

#include "Document.h"
#include "geom/HitGeometry.h"

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace minihost {

class PathIndex {
  public:
    // An object changed, appeared or left the document (any type: non-paths are dropped at the next query).
    void changed(ObjectId id);

    // Appends the paths whose box lies within tol of p, in no particular order. Exact: a path left out
    // cannot be hit at p with this tolerance.
    void near(const Document& doc, const CCRealPoint& p, double tol, std::vector<ObjectId>& out);

    std::size_t size() const { return entries_.size(); }
    // The box kept for a path as of the last query; null when the path has none (or is not a path).
    const PointBox* box(ObjectId id) const
    {
        auto it = entries_.find(id);
        return it == entries_.end() ? nullptr : &it->second.box;
    }

  private:
    struct Entry {
        PointBox box;
        std::int64_t x0 = 0, y0 = 0, x1 = -1, y1 = -1; // cell range; empty for big entries
        bool big = false;
    };

    void sync(const Document& doc);
    void build(const Document& doc);
    void insert(ObjectId id, const PointBox& box);
    void erase(ObjectId id);
    bool cellRange(const PointBox& box, double margin, std::int64_t& x0, std::int64_t& y0, std::int64_t& x1,
                   std::int64_t& y1) const;
    static std::uint64_t key(std::int64_t x, std::int64_t y);

    bool built_ = false;
    std::size_t builtSize_ = 0;
    double cell_ = 1;
    std::unordered_map<ObjectId, Entry> entries_;
    std::unordered_map<std::uint64_t, std::vector<ObjectId>> cells_;
    std::unordered_set<ObjectId> big_;
    std::unordered_set<ObjectId> dirty_;
};

} // namespace minihost
