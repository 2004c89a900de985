// The document view: a zoom factor and the document point at the view's top left. View coordinates are
// pixels with y down; the view is as large as the page at zoom 1.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cmath>

namespace minihost::suites {

namespace {

CCErr GetDocumentViewZoom(double* zoom)
{
    if (!currentDocument())
        return kCCNoDocumentErr;
    if (!zoom)
        return kCCBadParameterErr;
    *zoom = Host::current()->zoom();
    return kCCNoErr;
}

CCErr SetDocumentViewZoom(double zoom)
{
    if (!currentDocument())
        return kCCNoDocumentErr;
    return Host::current()->setZoom(zoom);
}

CCErr ArtworkPointToViewPoint(const CCRealPoint* artwork, CCPoint32* view)
{
    if (!currentDocument())
        return kCCNoDocumentErr;
    if (!artwork || !view)
        return kCCBadParameterErr;
    return Host::current()->viewPoint(*artwork, *view);
}

CCErr ViewPointToArtworkPoint(const CCPoint32* view, CCRealPoint* artwork)
{
    if (!currentDocument())
        return kCCNoDocumentErr;
    if (!artwork || !view)
        return kCCBadParameterErr;
    *artwork = Host::current()->artworkPoint(*view);
    return kCCNoErr;
}

CCErr GetDocumentViewBounds(CCRealRect* bounds)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!bounds)
        return kCCBadParameterErr;
    Host& host = *Host::current();
    CCRealPoint origin = host.viewOrigin();
    double zoom = host.zoom();
    *bounds = CCRealRect{origin.x, origin.y, origin.x + doc->width / zoom, origin.y - doc->height / zoom};
    return kCCNoErr;
}

} // namespace

const CCDocumentViewSuite& documentView()
{
    static const CCDocumentViewSuite table{GetDocumentViewZoom, SetDocumentViewZoom, ArtworkPointToViewPoint,
                                           ViewPointToArtworkPoint, GetDocumentViewBounds};
    return table;
}

} // namespace minihost::suites
