#include "ArtSelection.h"

#include "host/Suites.h"

namespace curvicraft {

namespace {

constexpr CCMatchingArtSpec triple(ArtType type)
{
    return CCMatchingArtSpec{static_cast<std::int16_t>(type), kAttrSelected, kAttrSelected};
}

void disposeList(CCMemoryHandle* list)
{
    if (*list != nullptr)
        sMdMemory->DisposeHandle(*list);
    *list = nullptr;
}

// Asks the host for the selected objects of the given kinds; '!sel' (list disposed) when there are none.
CCErr matchSelected(const CCMatchingArtSpec* triples, std::int16_t numTriples, CCMemoryHandle* list, std::int32_t* count)
{
    *list = nullptr;
    *count = 0;
    CCErr err = sMatchingArt->GetMatchingArt(triples, numTriples, list, count);
    if (err != kCCNoErr) {
        disposeList(list);
        *count = 0;
        return err;
    }
    if (*count <= 0 || *list == nullptr) {
        disposeList(list);
        *count = 0;
        return kNoSelectionErr;
    }
    return kCCNoErr;
}

bool isContainer(ArtType type)
{
    return type == ArtType::Group || type == ArtType::CompoundPath;
}

// Whether the path's parent is a type-on-a-path object selected as a whole; the parent is returned too.
CCErr wholeTextPathParent(ArtHandle path, ArtHandle* parent, bool* onTextPath)
{
    *onTextPath = false;
    *parent = nullptr;
    CCErr err = sArt->GetArtParent(path, parent);
    if (err != kCCNoErr || *parent == nullptr)
        return err;
    ArtType type = ArtType::Unknown;
    if ((err = getArtType(*parent, &type)) != kCCNoErr)
        return err;
    if (type != ArtType::TextPath)
        return kCCNoErr;
    std::int32_t attr = 0;
    if ((err = sArt->GetArtUserAttr(*parent, kAttrFullySelected, &attr)) != kCCNoErr)
        return err;
    *onTextPath = (attr & kAttrFullySelected) != 0;
    return kCCNoErr;
}

} // namespace

CCErr getArtType(ArtHandle art, ArtType* type)
{
    std::int16_t raw = kCCUnknownArt;
    CCErr err = sArt->GetArtType(art, &raw);
    *type = err == kCCNoErr ? static_cast<ArtType>(raw) : ArtType::Unknown;
    return err;
}

CCErr selectionListArt(CCMemoryHandle list, ArtHandle** art)
{
    void* block = nullptr;
    CCErr err = sMdMemory->GetHandleBlock(list, &block);
    *art = err == kCCNoErr ? static_cast<ArtHandle*>(block) : nullptr;
    if (err == kCCNoErr && block == nullptr)
        return kCCBadParameterErr;
    return err;
}

bool artIsSelected(ArtHandle art)
{
    if (art == nullptr)
        return false;
    std::int32_t attr = 0;
    if (sArt->GetArtUserAttr(art, kAttrSelected, &attr) != kCCNoErr)
        return false;
    return (attr & kAttrSelected) != 0;
}

CCErr checkGroupEditable(ArtHandle group)
{
    ArtHandle child = nullptr;
    CCErr err = sArt->GetArtFirstChild(group, &child);
    while (err == kCCNoErr && child != nullptr) {
        std::int32_t attr = 0;
        if ((err = sArt->GetArtUserAttr(child, kAttrLockedOrHidden, &attr)) != kCCNoErr)
            return err;
        if ((attr & kAttrLockedOrHidden) != 0)
            return kLockedInGroupErr;
        err = sArt->GetArtSibling(child, &child);
    }
    return err;
}

CCErr collectSelectedPaths(CCMemoryHandle* list, std::int32_t* count, std::int32_t* totalAnchors)
{
    static constexpr CCMatchingArtSpec kSpecs[] = {triple(ArtType::Group), triple(ArtType::CompoundPath),
                                                   triple(ArtType::Path)};
    *totalAnchors = 0;
    CCErr err = matchSelected(kSpecs, 3, list, count);
    if (err != kCCNoErr)
        return err;

    ArtHandle* art = nullptr;
    err = selectionListArt(*list, &art);
    std::int32_t pathsSeen = 0;
    std::int32_t anchors = 0;
    for (std::int32_t i = 0; err == kCCNoErr && i < *count; ++i) {
        ArtHandle parent = nullptr;
        if ((err = sArt->GetArtParent(art[i], &parent)) != kCCNoErr || parent == nullptr)
            continue;
        ArtType type = ArtType::Unknown;
        if ((err = getArtType(art[i], &type)) != kCCNoErr)
            break;
        if (type == ArtType::Path) {
            std::int16_t n = 0;
            if ((err = sPath->GetPathSegmentCount(art[i], &n)) != kCCNoErr)
                break;
            ++pathsSeen;
            anchors += n;
        } else if (isContainer(type)) {
            err = checkGroupEditable(art[i]);
        }
    }
    if (err == kCCNoErr && pathsSeen == 0)
        err = kNoSelectionErr;
    if (err != kCCNoErr) {
        disposeList(list);
        *count = 0;
        return err;
    }
    *totalAnchors = anchors;
    return kCCNoErr;
}

CCErr collectSelectionForTransform(CCMemoryHandle* list, std::int32_t* count)
{
    static constexpr CCMatchingArtSpec kSpecs[] = {triple(ArtType::Path), triple(ArtType::Placed), triple(ArtType::Raster),
                                                   triple(ArtType::MysteryPath)};
    CCErr err = matchSelected(kSpecs, 4, list, count);
    if (err != kCCNoErr)
        return err;

    ArtHandle* art = nullptr;
    err = selectionListArt(*list, &art);
    for (std::int32_t i = 0; err == kCCNoErr && i < *count; ++i) {
        ArtHandle parent = nullptr;
        if ((err = sArt->GetArtParent(art[i], &parent)) != kCCNoErr || parent == nullptr)
            continue;
        std::int32_t attr = 0;
        if ((err = sArt->GetArtUserAttr(art[i], kAttrLockedOrHidden, &attr)) == kCCNoErr &&
            (attr & kAttrLockedOrHidden) != 0)
            err = kLockedInGroupErr;
        break;
    }
    if (err != kCCNoErr) {
        disposeList(list);
        *count = 0;
    }
    return err;
}

CCErr deselectAllArt()
{
    CCMemoryHandle list = nullptr;
    std::int32_t count = 0;
    CCErr err = sMatchingArt->GetSelectedArt(&list, &count);
    if (err == kCCNoErr && count > 0) {
        ArtHandle* art = nullptr;
        err = selectionListArt(list, &art);
        for (std::int32_t i = 0; err == kCCNoErr && i < count; ++i)
            err = sArt->SetArtUserAttr(art[i], kAttrSelected, 0);
    }
    disposeList(&list);
    return err;
}

CCErr selectArtTree(ArtHandle art)
{
    CCErr err = sArt->SetArtUserAttr(art, kAttrSelectedWhole, kAttrSelectedWhole);
    if (err != kCCNoErr)
        return err;
    ArtType type = ArtType::Unknown;
    if ((err = getArtType(art, &type)) != kCCNoErr || !isContainer(type))
        return err;
    ArtHandle child = nullptr;
    err = sArt->GetArtFirstChild(art, &child);
    while (err == kCCNoErr && child != nullptr) {
        if ((err = selectArtTree(child)) != kCCNoErr)
            return err;
        err = sArt->GetArtSibling(child, &child);
    }
    return err;
}

CCErr checkNotOnTextPath(ArtHandle path)
{
    ArtHandle parent = nullptr;
    bool onTextPath = false;
    CCErr err = wholeTextPathParent(path, &parent, &onTextPath);
    if (err != kCCNoErr)
        return err;
    return onTextPath ? kTextPathErr : kCCNoErr;
}

CCErr releaseTextPathSelection(ArtHandle path, CCBool32* released)
{
    *released = 0;
    ArtHandle parent = nullptr;
    bool onTextPath = false;
    CCErr err = wholeTextPathParent(path, &parent, &onTextPath);
    if (err != kCCNoErr || !onTextPath)
        return err;
    if ((err = sArt->SetArtUserAttr(parent, kAttrFullySelected, 0)) != kCCNoErr)
        return err;
    if ((err = sArt->SetArtUserAttr(path, kAttrFullySelected, 0)) != kCCNoErr)
        return err;
    *released = 1;
    return kCCNoErr;
}

} // namespace curvicraft
