#include "io/DocumentInfo.h"

#include "io/FormatCommon_p.h"

namespace minihost {

using io::formatNumber;

namespace {

std::string objectLine(const Art& a)
{
    std::string line = io::artTypeName(a.type);
    if (a.type == kCCUnknownArt || io::artTypeFromName(line) != a.type)
        line += "(" + std::to_string(a.type) + ")";
    line += " " + (a.name.empty() ? std::string("-") : a.name);
    if (a.type == kCCPathArt) {
        line += a.closed ? " closed " : " open ";
        line += std::to_string(a.segments.size()) + (a.segments.size() == 1 ? " anchor" : " anchors");
    }
    if (a.type == kCCGroupArt && a.clipped)
        line += " clipped";
    if (a.attrs & kCCArtSelected)
        line += " selected";
    if (a.attrs & kCCArtFullySelected)
        line += " wholly";
    if (a.attrs & kCCArtLocked)
        line += " locked";
    if (a.attrs & kCCArtHidden)
        line += " hidden";
    if (a.type == kCCPathArt && a.guide)
        line += " guide";
    bool any = false;
    for (auto s : a.selection)
        any = any || s != kCCSegmentNotSelected;
    if (any) {
        line += " selection";
        for (auto s : a.selection)
            line += " " + std::to_string(s);
    }
    return line;
}

void tree(const Document& doc, ObjectId id, int depth, std::string& out)
{
    for (ObjectId c : doc.children(id)) {
        out += std::string(static_cast<std::size_t>(2 * depth), ' ') + objectLine(*doc.get(c)) + "\n";
        tree(doc, c, depth + 1, out);
    }
}

std::string point(const CCRealPoint& p)
{
    return formatNumber(p.x) + " " + formatNumber(p.y);
}

} // namespace

std::string describeDocument(const Document& doc)
{
    std::string out = "document " + formatNumber(doc.width) + " x " + formatNumber(doc.height) + " " + doc.units + "\n";
    for (const Layer& l : doc.layers()) {
        out += "layer \"" + l.name + "\"";
        if (!l.editable)
            out += " locked";
        if (!l.visible)
            out += " hidden";
        out += "\n";
        tree(doc, l.group, 1, out);
    }
    return out;
}

std::string describeObject(const Document& doc, ObjectId id)
{
    const Art* a = doc.get(id);
    if (!a)
        return "";
    std::string out = objectLine(*a) + "\n";
    for (std::size_t i = 0; i < a->segments.size(); ++i) {
        const CCPathSegment& s = a->segments[i];
        out += "  " + std::to_string(i) + ": anchor " + point(s.anchor) + " in " + point(s.in) + " out " +
               point(s.out) + (s.corner ? " corner" : " smooth") + "\n";
    }
    tree(doc, id, 1, out);
    return out;
}

} // namespace minihost
