// Lists of the document's objects that match (type, attribute mask, attribute value) triples, in
// document order: layers top first, each tree depth first from its topmost object, parents before their
// children, layer groups included.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cstring>

namespace minihost::suites {

namespace {

bool matchesAny(const Art& a, const CCMatchingArtSpec* triples, int count)
{
    for (int i = 0; i < count; ++i) {
        const CCMatchingArtSpec& s = triples[i];
        if ((s.type == kCCUnknownArt || s.type == a.type) && (a.attrs & s.whichAttr) == s.attr)
            return true;
    }
    return false;
}

// Puts the handles into a new memory handle the caller disposes.
CCErr makeList(const std::vector<CCArtHandle>& found, CCMemoryHandle* matches, int32_t* count)
{
    CCMemoryHandle list = nullptr;
    if (CCErr err = mdMemory().NewHandle(found.size() * sizeof(CCArtHandle), &list))
        return err;
    void* block = nullptr;
    mdMemory().GetHandleBlock(list, &block);
    if (!found.empty())
        std::memcpy(block, found.data(), found.size() * sizeof(CCArtHandle));
    *matches = list;
    *count = static_cast<int32_t>(found.size());
    return kCCNoErr;
}

CCErr collect(const CCMatchingArtSpec* triples, int count, CCMemoryHandle* matches, int32_t* found)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!matches || !found || count < 0 || (count > 0 && !triples))
        return kCCBadParameterErr;
    return guarded([&] {
        std::vector<CCArtHandle> list;
        doc->walk([&](const Art& a) {
            if (matchesAny(a, triples, count))
                list.push_back(toHandle(a.id));
            return true;
        });
        return makeList(list, matches, found);
    });
}

CCErr GetMatchingArt(const CCMatchingArtSpec* triples, int16_t numTriples, CCMemoryHandle* matches, int32_t* count)
{
    return collect(triples, numTriples, matches, count);
}

CCErr GetSelectedArt(CCMemoryHandle* matches, int32_t* count)
{
    const CCMatchingArtSpec selected{kCCUnknownArt, kCCArtSelected, kCCArtSelected};
    return collect(&selected, 1, matches, count);
}

} // namespace

const CCMatchingArtSuite& matchingArt()
{
    static const CCMatchingArtSuite table{GetMatchingArt, GetSelectedArt};
    return table;
}

} // namespace minihost::suites
