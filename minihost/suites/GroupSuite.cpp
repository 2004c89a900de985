// The clipping flag of groups.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr lookupGroup(CCArtHandle group, Document*& doc, const Art*& art)
{
    CCErr err = lookupArt(group, doc, art);
    if (err == kCCNoErr && art->type != kCCGroupArt)
        return kCCBadParameterErr;
    return err;
}

CCErr GetGroupClipped(CCArtHandle group, CCBool32* clipped)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupGroup(group, doc, a))
        return err;
    if (!clipped)
        return kCCBadParameterErr;
    *clipped = a->clipped ? 1 : 0;
    return kCCNoErr;
}

CCErr SetGroupClipped(CCArtHandle group, CCBool32 clipped)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupGroup(group, doc, a))
        return err;
    if (a->parent == 0)
        return kCCBadParameterErr; // a layer group does not clip
    return guarded([&] {
        if (a->clipped != (clipped != 0))
            doc->edit(a->id)->clipped = clipped != 0;
        return kCCNoErr;
    });
}

} // namespace

const CCGroupSuite& group()
{
    static const CCGroupSuite table{GetGroupClipped, SetGroupClipped};
    return table;
}

} // namespace minihost::suites
