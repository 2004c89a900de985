#include "SegmentBuffer.h"

#include "host/Suites.h"

#include <utility>

namespace curvicraft {

SegmentBuffer::SegmentBuffer(SegmentBuffer&& other) noexcept
    : segments_(std::exchange(other.segments_, nullptr)), count_(std::exchange(other.count_, 0))
{
}

SegmentBuffer& SegmentBuffer::operator=(SegmentBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        segments_ = std::exchange(other.segments_, nullptr);
        count_ = std::exchange(other.count_, 0);
    }
    return *this;
}

CCErr SegmentBuffer::allocate(int count, const char* debugName)
{
    release();
    if (count < 0 || count > kCCMaxPathSegments)
        return kCCBadParameterErr;
    if (count == 0)
        return kCCNoErr;
    void* block = nullptr;
    CCErr err = sBlocks->AllocateBlock(sizeof(PathSegment) * static_cast<std::size_t>(count), debugName, &block);
    if (err != kCCNoErr)
        return err;
    if (block == nullptr)
        return kCCOutOfMemoryErr;
    segments_ = static_cast<PathSegment*>(block);
    count_ = count;
    return kCCNoErr;
}

CCErr SegmentBuffer::readPath(ArtHandle path, const char* debugName)
{
    release();
    std::int16_t count = 0;
    CCErr err = sPath->GetPathSegmentCount(path, &count);
    if (err != kCCNoErr)
        return err;
    err = allocate(count, debugName);
    if (err != kCCNoErr || count == 0)
        return err;
    err = sPath->GetPathSegments(path, 0, count, segments_);
    if (err != kCCNoErr)
        release();
    return err;
}

CCErr SegmentBuffer::writePath(ArtHandle path) const
{
    if (count_ == 0)
        return kCCNoErr;
    return sPath->SetPathSegments(path, 0, static_cast<std::int16_t>(count_), segments_);
}

void SegmentBuffer::release()
{
    if (segments_ != nullptr)
        sBlocks->FreeBlock(segments_);
    segments_ = nullptr;
    count_ = 0;
}

} // namespace curvicraft
