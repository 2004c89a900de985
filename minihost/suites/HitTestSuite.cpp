// Hit testing at a document point with a tolerance of a few view pixels at the current zoom; the rules
// are hitTestDocument's. The document's index hands over only the paths near the point.
#include "SuiteSupport_p.h"
#include "Suites_p.h"
#include "DocumentHitTest.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace minihost::suites {

namespace {

constexpr double kMaxTolerance = 1000; // view pixels

CCErr HitTest(CCArtHandle art, const CCRealPoint* point, int32_t request, CCHitData* hit)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!point || !hit || !std::isfinite(point->x) || !std::isfinite(point->y))
        return kCCBadParameterErr;
    if (request != kCCHitAll && request != kCCHitSnapPoints && request != kCCHitTool)
        return kCCBadParameterErr;
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    CCRealPoint p = *point;
    *hit = CCHitData{};
    hit->part = -1;
    hit->segment = -1;
    hit->point = p;
    double tol = host->hitTolerance / Host::current()->zoom();
    return guarded([&] { return hitTestDocument(*doc, fromHandle(art), p, request, tol, *hit); });
}

CCErr GetTolerance(double* pixels)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!pixels)
        return kCCBadParameterErr;
    *pixels = host->hitTolerance;
    return kCCNoErr;
}

CCErr SetTolerance(double pixels)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!(pixels >= 0 && pixels <= kMaxTolerance))
        return kCCBadParameterErr;
    host->hitTolerance = pixels;
    return kCCNoErr;
}

} // namespace

const CCHitTestSuite& hitTest()
{
    static const CCHitTestSuite table{HitTest, GetTolerance, SetTolerance};
    return table;
}

} // namespace minihost::suites
