// The current document: its handle, ruler units, size, and redraw requests. A redraw asked for inside a
// message happens when the host's message returns, as a real host redraws once the plug-in is done.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <string_view>

namespace minihost::suites {

namespace {

CCErr GetDocument(CCDocumentHandle* document)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!document)
        return kCCBadParameterErr;
    if (!host->document)
        return kCCNoDocumentErr;
    // One value per opened document, so a handle kept across a document change is told apart.
    *document = reinterpret_cast<CCDocumentHandle>(static_cast<std::uintptr_t>(0x40000000 + host->documentSerial * 16));
    return kCCNoErr;
}

CCErr GetDocumentRulerUnits(int16_t* units)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!units)
        return kCCBadParameterErr;
    static constexpr std::pair<std::string_view, int16_t> kUnits[] = {
        {"pt", kCCUnitsPoints},      {"in", kCCUnitsInches}, {"cm", kCCUnitsCentimeters},
        {"mm", kCCUnitsMillimeters}, {"pc", kCCUnitsPicas},  {"px", kCCUnitsPixels},
        {"H", kCCUnitsQ},
    };
    for (const auto& [name, code] : kUnits)
        if (doc->units == name) {
            *units = code;
            return kCCNoErr;
        }
    return kCCBadParameterErr;
}

CCErr RedrawDocument()
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    host->redrawPending = true;
    if (host->topLevel == 0)
        host->redraw();
    return kCCNoErr;
}

CCErr GetDocumentSize(double* width, double* height)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!width || !height)
        return kCCBadParameterErr;
    *width = doc->width;
    *height = doc->height;
    return kCCNoErr;
}

} // namespace

const CCDocumentSuite& document()
{
    static const CCDocumentSuite table{GetDocument, GetDocumentRulerUnits, RedrawDocument, GetDocumentSize};
    return table;
}

} // namespace minihost::suites
