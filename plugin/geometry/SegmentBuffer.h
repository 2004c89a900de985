// A working array of PathSegment taken from the host's block memory.
//
// The buffer holds exactly the number of records it was allocated for and is never resized; it frees its
// block when it goes out of scope, so every exit path of an operation releases it. Operations that change
// a path's anchor count go through the host's insert, delete and set-count calls instead.
#pragma once

#include "PathModel.h"

#include <cstdint>

namespace curvicraft {

inline constexpr const char* kSegsBufferName = "segs buffer";

class SegmentBuffer {
  public:
    SegmentBuffer() = default;
    ~SegmentBuffer() { release(); }
    SegmentBuffer(const SegmentBuffer&) = delete;
    SegmentBuffer& operator=(const SegmentBuffer&) = delete;
    SegmentBuffer(SegmentBuffer&& other) noexcept;
    SegmentBuffer& operator=(SegmentBuffer&& other) noexcept;

    // Takes a block of count records under a debug name. A buffer that already holds a block frees it
    // first. count 0 takes no block. A negative count is refused; a host failure is returned unchanged and
    // leaves the buffer empty.
    CCErr allocate(int count, const char* debugName = kSegsBufferName);

    // Allocates at the path's anchor count and reads every record with one call.
    CCErr readPath(ArtHandle path, const char* debugName = kSegsBufferName);
    // Writes every record back from index 0 with one call; an empty buffer writes nothing.
    CCErr writePath(ArtHandle path) const;

    void release();

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    PathSegment* data() { return segments_; }
    const PathSegment* data() const { return segments_; }
    PathSegment& operator[](int i) { return segments_[i]; }
    const PathSegment& operator[](int i) const { return segments_[i]; }
    PathSegment* begin() { return segments_; }
    PathSegment* end() { return segments_ + count_; }

  private:
    PathSegment* segments_ = nullptr;
    int count_ = 0;
};

} // namespace curvicraft
