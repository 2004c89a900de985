// Document files and session scripts: exact JSON round trips, SVG geometry (arcs, relative and shorthand
// commands, basic shapes, transforms, y-up), real logos, refusal of bad files, and the script interpreter.
#include "TestFiles.h"
#include "Host.h"
#include "Session.h"
#include "io/DocumentFile.h"
#include "io/DocumentInfo.h"
#include "io/JsonFormat.h"
#include "io/SvgFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

using namespace minihost;
namespace fs = std::filesystem;

namespace {

// ------------------------------------------------------------------ helpers

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Compares two documents object by object. With tolerance < 0 every double must be bitwise equal and corner
// flags and colours exact; otherwise coordinates may differ by `tolerance` times their magnitude (at least 1).
void expectSameDocument(const Document& a, const Document& b, double tolerance = -1)
{
    bool exact = tolerance < 0;
    auto num = [&](double x, double y, const std::string& what) {
        if (exact) {
            EXPECT_TRUE(sameBits(x, y)) << what << ": " << x << " vs " << y;
        } else {
            EXPECT_NEAR(x, y, tolerance * std::max({1.0, std::fabs(x)})) << what;
        }
    };
    num(a.width, b.width, "width");
    num(a.height, b.height, "height");
    EXPECT_EQ(a.units, b.units);
    ASSERT_EQ(a.layers().size(), b.layers().size());
    std::function<void(ObjectId, ObjectId, const std::string&)> tree = [&](ObjectId x, ObjectId y,
                                                                           const std::string& where) {
        std::vector<ObjectId> cx = a.children(x), cy = b.children(y);
        ASSERT_EQ(cx.size(), cy.size()) << where;
        for (std::size_t i = 0; i < cx.size(); ++i) {
            const Art& p = *a.get(cx[i]);
            const Art& q = *b.get(cy[i]);
            std::string w = where + "/" + (p.name.empty() ? std::to_string(i) : p.name);
            EXPECT_EQ(p.type, q.type) << w;
            EXPECT_EQ(p.name, q.name) << w;
            EXPECT_EQ(p.attrs, q.attrs) << w;
            EXPECT_EQ(p.extra, q.extra) << w;
            if (p.type == kCCGroupArt) {
                EXPECT_EQ(p.clipped, q.clipped) << w;
            }
            if (p.type == kCCPathArt) {
                EXPECT_EQ(p.closed, q.closed) << w;
                EXPECT_EQ(p.guide, q.guide) << w;
                EXPECT_EQ(p.selection, q.selection) << w;
                EXPECT_EQ(p.style.fill.has_value(), q.style.fill.has_value()) << w;
                EXPECT_EQ(p.style.stroke.has_value(), q.style.stroke.has_value()) << w;
                if (exact) {
                    EXPECT_TRUE(p.style == q.style) << w;
                } else if (p.style.fill && q.style.fill) {
                    EXPECT_NEAR(p.style.fill->g, q.style.fill->g, 1.0 / 510) << w;
                }
                EXPECT_NEAR(p.style.strokeWidth, q.style.strokeWidth, 1e-9) << w;
                ASSERT_EQ(p.segments.size(), q.segments.size()) << w;
                for (std::size_t k = 0; k < p.segments.size(); ++k) {
                    const CCPathSegment &s = p.segments[k], &t = q.segments[k];
                    std::string sw = w + " anchor " + std::to_string(k);
                    num(s.anchor.x, t.anchor.x, sw), num(s.anchor.y, t.anchor.y, sw);
                    num(s.in.x, t.in.x, sw + " in"), num(s.in.y, t.in.y, sw + " in");
                    num(s.out.x, t.out.x, sw + " out"), num(s.out.y, t.out.y, sw + " out");
                    if (exact) {
                        EXPECT_EQ(s.corner, t.corner) << sw;
                    }
                }
            }
            tree(cx[i], cy[i], w);
        }
    };
    for (std::size_t i = 0; i < a.layers().size(); ++i) {
        const Layer &l = a.layers()[i], &m = b.layers()[i];
        EXPECT_EQ(l.name, m.name);
        EXPECT_EQ(l.editable, m.editable) << l.name;
        EXPECT_EQ(l.visible, m.visible) << l.name;
        tree(l.group, m.group, l.name);
    }
}

ObjectId addPath(Document& doc, ObjectId parent, const std::string& name, std::vector<CCPathSegment> segs, bool closed)
{
    ObjectId id = doc.create(kCCPathArt, kCCPlaceInsideOnTop, parent);
    Art& a = *doc.edit(id);
    a.name = name;
    a.segments = std::move(segs);
    a.selection.assign(a.segments.size(), 0);
    a.closed = closed;
    return id;
}

ObjectId addContainer(Document& doc, ObjectId parent, std::int16_t type, const std::string& name)
{
    ObjectId id = doc.create(type, kCCPlaceInsideOnTop, parent);
    doc.edit(id)->name = name;
    return id;
}

// A document with every kind of object and attribute the formats carry. `wild` draws coordinates from all
// double bit patterns within the allowed range (subnormals, -0, huge), else from a drawing-sized range.
std::unique_ptr<Document> richDocument(bool wild, std::uint64_t seed = 20240611)
{
    std::mt19937_64 rng(seed);
    auto coord = [&]() {
        if (!wild)
            return std::uniform_real_distribution<double>(-500, 1500)(rng);
        while (true) {
            std::uint64_t bits = rng();
            double v;
            std::memcpy(&v, &bits, sizeof v);
            if (std::isfinite(v) && std::fabs(v) <= 1e15)
                return v;
        }
    };
    auto segments = [&](int n) {
        std::vector<CCPathSegment> s(static_cast<std::size_t>(n));
        for (auto& seg : s) {
            seg.anchor = {coord(), coord()};
            seg.in = {coord(), coord()};
            seg.out = (rng() & 1) ? seg.anchor : CCRealPoint{coord(), coord()};
            seg.corner = static_cast<CCBool32>(rng() & 1);
        }
        return s;
    };
    auto doc = std::make_unique<Document>();
    doc->width = 1000.5;
    doc->height = 700.25;
    doc->units = "mm";
    ObjectId top = doc->layer(doc->addLayer("Ink \"top\" <&>", true, true))->group;
    ObjectId locked = doc->layer(doc->addLayer("Locked", false, true))->group;
    ObjectId hidden = doc->layer(doc->addLayer("Hidden", true, false))->group;

    ObjectId p1 = addPath(*doc, top, "p1", segments(7), true);
    Art& a1 = *doc->edit(p1);
    a1.attrs = kCCArtSelected;
    a1.selection = {0, 1, 2, 3, 4, 0, 1};
    a1.style.fill = Rgb{1.0 / 3, 0.5, 0.125}; // not expressible as #rrggbb
    a1.style.stroke = Rgb{0, 0, 1};
    a1.style.strokeWidth = 2.5;
    a1.style.evenOdd = true;
    a1.extra = R"({"note":"kept","weight":[1,2.5]})";

    ObjectId g = addContainer(*doc, top, kCCGroupArt, "g1");
    doc->edit(g)->attrs = kCCArtSelected | kCCArtFullySelected;
    ObjectId p2 = addPath(*doc, g, "p2", segments(3), false);
    doc->edit(p2)->attrs = kCCArtSelected | kCCArtFullySelected | kCCArtLocked;
    doc->edit(p2)->guide = true;
    doc->edit(p2)->style.fill.reset();
    ObjectId clip = addContainer(*doc, g, kCCGroupArt, "clip");
    doc->edit(clip)->clipped = true;
    addPath(*doc, clip, "clipped-content", segments(4), true);
    ObjectId mask = addPath(*doc, clip, "mask", segments(5), true); // topmost: the clipping path
    doc->edit(mask)->attrs = kCCArtHidden;

    ObjectId c = addContainer(*doc, top, kCCCompoundPathArt, "c1");
    addPath(*doc, c, "outer", segments(6), true);
    ObjectId hole = addPath(*doc, c, "", segments(2), true);
    doc->edit(hole)->selection = {4, 0};
    doc->edit(hole)->attrs = kCCArtSelected;

    ObjectId t = addContainer(*doc, locked, kCCTextPathArt, "t1");
    addPath(*doc, t, "baseline", segments(2), false);
    ObjectId plugin = addContainer(*doc, locked, kCCPluginArt, "fx");
    doc->edit(plugin)->extra = R"({"effect":"wobble"})";
    addPath(*doc, hidden, "", segments(1), false);
    addPath(*doc, hidden, "empty", {}, false);
    return doc;
}

// ------------------------------------------------------------------ JSON

TEST(JsonFormat, RoundTripKeepsEveryBitAndAttribute)
{
    TempDir dir;
    for (bool wild : {false, true}) {
        SCOPED_TRACE(wild ? "all double bit patterns" : "drawing-sized coordinates");
        auto doc = richDocument(wild);
        DocumentFile::save(*doc, dir / "doc.json");
        auto back = DocumentFile::load(dir / "doc.json");
        expectSameDocument(*doc, *back);
        // Writing what was read gives the same text: nothing drifts from one save to the next.
        EXPECT_EQ(JsonFormat::write(*back, "again.json"), readFile(dir / "doc.json"));
    }
}

TEST(JsonFormat, WritesTheDocumentedLayout)
{
    Document doc;
    ObjectId layer = doc.layer(doc.addLayer("Layer 1"))->group;
    addPath(doc, layer, "p1", {{{0.1, -0.0}, {0.1, -0.0}, {1e-300, 612}, 1}}, true);
    std::string text = JsonFormat::write(doc, "t.json");
    for (const char* expected : {R"("format": "curvicraft-document")", R"("version": 1)", R"("width": 612)",
                                 R"("height": 792)", R"("units": "pt")", R"("anchor": [0.1, -0.0])",
                                 R"("out": [1e-300, 612])", R"("fill": "#000000")", R"("stroke": null)"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST(JsonFormat, UnknownKeysAreKeptOrIgnoredAndDefaultsFillIn)
{
    const char* text = R"({ "format": "curvicraft-document", "version": 1, "generator": "elsewhere",
      "layers": [ { "name": "L", "colour": "red", "art": [
        { "type": "path", "id": "p", "segments": [ { "anchor": [1, 2], "bezier": true } ], "tag": {"a": [1]} },
        { "type": "group", "children": [], "fill": "#ff0000" } ] } ] })";
    auto doc = JsonFormat::read(text, "k.json");
    EXPECT_EQ(doc->width, 612);
    EXPECT_EQ(doc->units, "pt");
    const Art& p = *doc->get(doc->findByName("p"));
    ASSERT_EQ(p.segments.size(), 1u);
    EXPECT_EQ(p.segments[0].in.x, 1); // a missing handle is retracted
    EXPECT_EQ(p.segments[0].out.y, 2);
    EXPECT_EQ(p.extra, R"({"tag":{"a":[1]}})");
    // Style keys on a group are not the group's: kept as they are, and written back.
    std::string again = JsonFormat::write(*doc, "k.json");
    EXPECT_NE(again.find(R"("tag": { "a": [1] })"), std::string::npos) << again;
    EXPECT_NE(again.find(R"("fill": "#ff0000")"), std::string::npos) << again;
}

struct BadFile {
    const char* name;
    std::string text;
    std::vector<std::string> expected; // parts of the message
};

std::string jsonDoc(const std::string& art, const std::string& top = R"("units": "pt")")
{
    return R"({ "format": "curvicraft-document", "version": 1, )" + top + R"(, "layers": [ { "art": [ )" + art +
           " ] } ] }";
}

std::string jsonPath(const std::string& segments)
{
    return R"({ "type": "path", "segments": [ )" + segments + " ] }";
}

std::string manyAnchors(std::size_t n, bool json)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        std::string x = std::to_string(i % 1000), y = std::to_string(i / 1000);
        s += json ? (i ? ", " : "") + std::string(R"({ "anchor": [)") + x + ", " + y + "] }" : x + "," + y + " ";
    }
    return s;
}

TEST(JsonFormat, BadFilesAreRefusedNamingTheFileAndPlace)
{
    const std::vector<BadFile> cases = {
        {"syntax", "{ \"format\": \"curvicraft-document\",\n  \"version\": 1,, }", {"bad.json:2:"}},
        {"not a document", R"({ "format": "drawing", "version": 1, "layers": [] })", {"at /format"}},
        {"newer version",
         R"({ "format": "curvicraft-document", "version": 2, "layers": [] })",
         {"at /version", "version 2"}},
        {"missing layers", R"({ "format": "curvicraft-document", "version": 1 })", {"at /:", "\"layers\""}},
        {"wrong type", jsonDoc("", R"("width": "wide")"), {"at /width", "expected a number"}},
        {"unknown units", jsonDoc("", R"("units": "furlong")"), {"at /units", "furlong"}},
        {"missing segments", jsonDoc(R"({ "type": "path" })"), {"at /layers/0/art/0:", "\"segments\""}},
        {"missing type", jsonDoc(R"({ "id": "x" })"), {"at /layers/0/art/0:", "\"type\""}},
        {"unknown type", jsonDoc(R"({ "type": "blob" })"), {"at /layers/0/art/0/type", "blob"}},
        {"point of three", jsonDoc(jsonPath(R"({ "anchor": [1, 2, 3] })")), {"at /layers/0/art/0/segments/0/anchor"}},
        {"huge", jsonDoc(jsonPath(R"({ "anchor": [0, 2e15] })")), {"at /layers/0/art/0/segments/0/anchor/1", "1e15"}},
        {"overflow", "{ \"format\": \"curvicraft-document\",\n \"width\": -1e400 }", {"bad.json:2:11:", "-1e400"}},
        {"selection state",
         jsonDoc(jsonPath(R"({ "anchor": [0, 0], "selection": 5 })")),
         {"at /layers/0/art/0/segments/0/selection"}},
        {"corner not boolean",
         jsonDoc(jsonPath(R"({ "anchor": [0, 0], "corner": 1 })")),
         {"at /layers/0/art/0/segments/0/corner", "true or false"}},
        {"textpath of two",
         jsonDoc(R"({ "type": "textpath", "children": [ )" + jsonPath("") + ", " + jsonPath("") + " ] }"),
         {"at /layers/0/art/0/children", "exactly one path"}},
        {"group in compound",
         jsonDoc(R"({ "type": "compound", "children": [ { "type": "group" } ] })"),
         {"at /layers/0/art/0/children/0/type", "only paths"}},
        {"too many anchors", jsonDoc(jsonPath(manyAnchors(32768, true))), {"at /layers/0/art/0/segments", "32767"}},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            JsonFormat::read(c.text, "bad.json");
            ADD_FAILURE() << "accepted";
        } catch (const FileError& e) {
            std::string msg = e.what();
            EXPECT_EQ(msg.rfind("bad.json:", 0), 0u) << msg;
            for (const std::string& part : c.expected)
                EXPECT_NE(msg.find(part), std::string::npos) << msg << "\n  lacks: " << part;
        }
    }
    // The largest path a host holds is fine.
    EXPECT_EQ(JsonFormat::read(jsonDoc(jsonPath(manyAnchors(32767, true))), "ok.json")->objectCount(), 2u);
}

// ------------------------------------------------------------------ SVG geometry

const Art& onlyPath(const Document& doc)
{
    const Art* found = nullptr;
    doc.walk([&](const Art& a) {
        if (a.type == kCCPathArt && !found)
            found = &a;
        return true;
    });
    if (!found)
        throw std::runtime_error("no path");
    return *found;
}

std::unique_ptr<Document> svg(const std::string& body, const std::string& root = R"(width="100" height="100")")
{
    return SvgFormat::read("<svg xmlns=\"http://www.w3.org/2000/svg\" " + root + ">" + body + "</svg>", "t.svg");
}

struct Pt {
    double x, y;
};

// Anchors (doc coordinates) of the first path, with every handle retracted.
void expectPolygon(const Art& a, const std::vector<Pt>& pts, bool closed)
{
    EXPECT_EQ(a.closed, closed);
    ASSERT_EQ(a.segments.size(), pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const CCPathSegment& s = a.segments[i];
        EXPECT_NEAR(s.anchor.x, pts[i].x, 1e-12) << "anchor " << i;
        EXPECT_NEAR(s.anchor.y, pts[i].y, 1e-12) << "anchor " << i;
        EXPECT_TRUE(s.in.x == s.anchor.x && s.in.y == s.anchor.y) << "in handle of anchor " << i;
        EXPECT_TRUE(s.out.x == s.anchor.x && s.out.y == s.anchor.y) << "out handle of anchor " << i;
        EXPECT_EQ(s.corner, 1) << "anchor " << i;
    }
}

TEST(SvgFormat, StraightCommandsAndShapesArriveAsRetractedCubicsYUp)
{
    struct Case {
        const char* name;
        std::string body;
        std::vector<Pt> pts;
        bool closed;
    };
    // Page 100 high: y_doc = 100 - y_svg.
    const std::vector<Case> cases = {
        {"absolute", R"(<path d="M10 20 L30 20 L30 40"/>)", {{10, 80}, {30, 80}, {30, 60}}, false},
        {"relative and h/v", R"(<path d="m10 10 h20 v20 h-20 z"/>)", {{10, 90}, {30, 90}, {30, 70}, {10, 70}}, true},
        {"implicit lineto", R"(<path d="M0,0 10,0 10,10Z"/>)", {{0, 100}, {10, 100}, {10, 90}}, true},
        {"back to start then z", R"(<path d="M0 0 L10 0 L10 10 L0 0 Z"/>)", {{0, 100}, {10, 100}, {10, 90}}, true},
        {"compact numbers", R"(<path d="M.5.5l1-1h-.5e1"/>)", {{0.5, 99.5}, {1.5, 100.5}, {-3.5, 100.5}}, false},
        {"rect", R"(<rect x="10" y="20" width="30" height="40"/>)", {{10, 80}, {40, 80}, {40, 40}, {10, 40}}, true},
        {"rect in percent", R"(<rect x="10%" width="50%" height="100%"/>)", {{10, 100}, {60, 100}, {60, 0}, {10, 0}}, true},
        {"line", R"(<line x1="1" y1="2" x2="3" y2="4"/>)", {{1, 98}, {3, 96}}, false},
        {"polyline", R"(<polyline points="0,0 10,0 10 10"/>)", {{0, 100}, {10, 100}, {10, 90}}, false},
        {"polygon", R"(<polygon points="0,0 10,0 10,10"/>)", {{0, 100}, {10, 100}, {10, 90}}, true},
        {"translate then scale",
         R"~(<g transform="translate(10,0) scale(2)"><path d="M1 1 L2 1"/></g>)~",
         {{12, 98}, {14, 98}},
         false},
        {"rotate about a point",
         R"~(<path transform="rotate(90 50 50)" d="M60 50 L70 50"/>)~",
         {{50, 40}, {50, 30}},
         false},
        {"matrix and nesting",
         R"~(<g transform="matrix(1 0 0 1 5 5)"><g transform="scale(2 3)"><path d="M1 1 L2 2"/></g></g>)~",
         {{7, 92}, {9, 89}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = svg(c.body);
        expectPolygon(onlyPath(*doc), c.pts, c.closed);
    }
}

TEST(SvgFormat, ViewBoxAndPageSizeMapUserUnitsToPoints)
{
    struct Case {
        const char* root;
        double width, height;
        Pt point; // where the user point (1, 1) lands
    };
    const std::vector<Case> cases = {
        {R"(viewBox="0 0 10 20" width="100pt" height="200pt")", 100, 200, {10, 190}},
        {R"(viewBox="-1 -1 10 10")", 10, 10, {2, 8}},
        {R"(viewBox="0 0 10 10" width="1in")", 72, 72, {7.2, 64.8}},
        {R"(width="1in" height="2in")", 72, 144, {0.75, 143.25}}, // no viewBox: 96 user units per inch
        {R"(viewBox="0 0 24 24" width="100%")", 24, 24, {1, 23}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root);
        auto doc = svg(R"(<path d="M1 1 L2 1"/>)", c.root);
        EXPECT_NEAR(doc->width, c.width, 1e-12);
        EXPECT_NEAR(doc->height, c.height, 1e-12);
        const CCPathSegment& s = onlyPath(*doc).segments[0];
        EXPECT_NEAR(s.anchor.x, c.point.x, 1e-12);
        EXPECT_NEAR(s.anchor.y, c.point.y, 1e-12);
    }
}

CCRealPoint bezierAt(const CCPathSegment& from, const CCPathSegment& to, double t)
{
    double u = 1 - t;
    auto f = [&](double a, double b, double c, double d) {
        return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
    };
    return {f(from.anchor.x, from.out.x, to.in.x, to.anchor.x), f(from.anchor.y, from.out.y, to.in.y, to.anchor.y)};
}

// Largest relative deviation from the circle (cx, cy, r) over samples of every curve of a path.
double circleDeviation(const Art& a, double cx, double cy, double r)
{
    double worst = 0;
    std::size_t n = a.segments.size(), curves = a.closed ? n : n - 1;
    for (std::size_t k = 0; k < curves; ++k)
        for (double t = 0; t <= 1; t += 0.125) {
            CCRealPoint p = bezierAt(a.segments[k], a.segments[(k + 1) % n], t);
            worst = std::max(worst, std::fabs(std::hypot(p.x - cx, p.y - cy) - r) / r);
        }
    return worst;
}

TEST(SvgFormat, ArcsAndRoundShapesBecomeQuarterCubicsOnTheCircle)
{
    struct Case {
        const char* name;
        std::string body;
        std::size_t anchors;
        bool closed;
        double cx, cy, r; // doc coordinates
        Pt through;       // an anchor that must exist: the far point of the arc
    };
    const std::vector<Case> cases = {
        // From (0,50) to (100,50) clockwise on screen: over the top, which is y_doc = 100.
        {"semicircle", R"(<path d="M0 50 A50 50 0 0 1 100 50"/>)", 3, false, 50, 50, 50, {50, 100}},
        {"other sweep", R"(<path d="M0 50 A50 50 0 0 0 100 50"/>)", 3, false, 50, 50, 50, {50, 0}},
        {"relative large arc", R"(<path d="M50 10 a40 40 0 1 1 -40 40"/>)", 4, false, 50, 50, 40, {90, 50}},
        {"radii too small grow", R"(<path d="M0 50 A1 1 0 0 1 100 50"/>)", 3, false, 50, 50, 50, {50, 100}},
        {"circle", R"(<circle cx="50" cy="40" r="20"/>)", 4, true, 50, 60, 20, {30, 60}},
        {"scaled circle", R"~(<circle transform="scale(2)" cx="10" cy="10" r="5"/>)~", 4, true, 20, 80, 10, {20, 70}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = svg(c.body);
        const Art& a = onlyPath(*doc);
        ASSERT_EQ(a.segments.size(), c.anchors);
        EXPECT_EQ(a.closed, c.closed);
        // A quarter-turn cubic strays from its circle by about 2.7e-4 of the radius.
        EXPECT_LT(circleDeviation(a, c.cx, c.cy, c.r), 3e-4);
        bool found = false;
        for (const CCPathSegment& s : a.segments) {
            found = found || (std::fabs(s.anchor.x - c.through.x) < 1e-9 && std::fabs(s.anchor.y - c.through.y) < 1e-9);
            // Every handle is tangent: perpendicular to the radius at its anchor.
            for (CCRealPoint h : {s.in, s.out}) {
                double dot = (h.x - s.anchor.x) * (s.anchor.x - c.cx) + (h.y - s.anchor.y) * (s.anchor.y - c.cy);
                EXPECT_NEAR(dot, 0, 1e-9 * c.r * c.r);
            }
        }
        EXPECT_TRUE(found) << "no anchor at (" << c.through.x << ", " << c.through.y << ")";
    }
    // The handle length of a quarter circle: 4/3 tan(pi/8) of the radius; inner anchors are smooth.
    auto doc = svg(R"(<circle cx="50" cy="50" r="30"/>)");
    for (const CCPathSegment& s : onlyPath(*doc).segments) {
        EXPECT_NEAR(std::hypot(s.out.x - s.anchor.x, s.out.y - s.anchor.y), 30 * 0.5522847498307936, 1e-9);
        EXPECT_EQ(s.corner, 0);
    }
}

TEST(SvgFormat, ShorthandAndQuadraticCurvesKeepTheirControlPoints)
{
    // Page 100 high. S reflects the previous second control point; Q becomes a cubic with handles at 2/3.
    auto doc =
        svg(R"(<path id="c" d="M0 0 C10 0 20 10 20 20 S30 40 40 40"/><path id="q" d="M0 0 Q10 10 20 0 T40 0"/>)");
    const Art& c = *doc->get(doc->findByName("c"));
    ASSERT_EQ(c.segments.size(), 3u);
    EXPECT_EQ(c.segments[1].in.x, 20);
    EXPECT_EQ(c.segments[1].in.y, 90);
    EXPECT_EQ(c.segments[1].out.x, 20); // reflection of (20,10) about (20,20): (20,30), y_doc 70
    EXPECT_EQ(c.segments[1].out.y, 70);
    EXPECT_EQ(c.segments[1].corner, 0);
    EXPECT_EQ(c.segments[0].corner, 1);

    const Art& q = *doc->get(doc->findByName("q"));
    ASSERT_EQ(q.segments.size(), 3u);
    EXPECT_NEAR(q.segments[0].out.x, 20.0 / 3, 1e-12);
    EXPECT_NEAR(q.segments[0].out.y, 100 - 20.0 / 3, 1e-12);
    EXPECT_NEAR(q.segments[1].in.x, 40.0 / 3, 1e-12);
    // T reflects the control point (10,10) about (20,0) to (30,-10): the out handle points down on screen.
    EXPECT_NEAR(q.segments[1].out.x, 20 + 20.0 / 3, 1e-12);
    EXPECT_NEAR(q.segments[1].out.y, 100 + 20.0 / 3, 1e-12);
    EXPECT_EQ(q.segments[1].corner, 0);
}

TEST(SvgFormat, RoundedRectangleHasEightAnchorsWithTangentHandles)
{
    auto doc = svg(R"(<rect x="10" y="10" width="60" height="40" rx="10"/>)");
    const Art& a = onlyPath(*doc);
    ASSERT_EQ(a.segments.size(), 8u);
    EXPECT_TRUE(a.closed);
    // The corner around the centre (20, 80) doc lies on its circle; straight sides have retracted ends.
    for (std::size_t i = 0; i < 8; ++i) {
        const CCPathSegment& s = a.segments[i];
        bool inOut = s.in.x != s.anchor.x || s.in.y != s.anchor.y;
        bool outOut = s.out.x != s.anchor.x || s.out.y != s.anchor.y;
        EXPECT_NE(inOut, outOut) << "each anchor joins one straight side and one arc, anchor " << i;
        EXPECT_EQ(s.corner, 1);
    }
    double lo = 1e9, hi = -1e9;
    for (const CCPathSegment& s : a.segments)
        lo = std::min(lo, s.anchor.y), hi = std::max(hi, s.anchor.y);
    EXPECT_EQ(lo, 50);
    EXPECT_EQ(hi, 90);
}

TEST(SvgFormat, LayersStylesGroupsAndCompounds)
{
    const char* text = R"~(<?xml version="1.0"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="200" height="100">
  <defs><clipPath id="cp"><rect id="mask" width="50" height="50"/></clipPath></defs>
  <path id="stray" d="M0 0 L1 1"/>
  <g inkscape:groupmode="layer" inkscape:label="Bottom" sodipodi:insensitive="true" style="fill:#00ff00">
    <g id="g" clip-path="url(#cp)" stroke="red" stroke-width="2">
      <path id="a" d="M0 0 L10 0 L10 10 Z" style="stroke: blue ; stroke-width:4"/>
      <path id="b" transform="scale(3)" d="M0 0 L10 0" fill="none" style="display:none"/>
    </g>
  </g>
  <g inkscape:groupmode="layer" id="top" style="display:none">
    <path id="donut" fill-rule="evenodd" d="M0 0 H10 V10 H0 Z M2 2 H8 V8 H2 Z"/>
    <text>ignored</text>
  </g>
</svg>)~";
    auto doc = SvgFormat::read(text, "l.svg");
    ASSERT_EQ(doc->layers().size(), 3u);
    const Layer &top = doc->layers()[0], &bottom = doc->layers()[1], &stray = doc->layers()[2];
    EXPECT_EQ(top.name, "top");
    EXPECT_FALSE(top.visible);
    EXPECT_EQ(bottom.name, "Bottom");
    EXPECT_FALSE(bottom.editable);
    EXPECT_EQ(stray.name, "Layer 1");
    EXPECT_EQ(doc->children(stray.group).size(), 1u);

    const Art& g = *doc->get(doc->findByName("g"));
    EXPECT_TRUE(g.clipped);
    std::vector<ObjectId> kids = doc->children(g.id);
    ASSERT_EQ(kids.size(), 3u);
    EXPECT_EQ(doc->get(kids[0])->name, "mask") << "the clipping path goes on top";
    EXPECT_EQ(doc->get(kids[1])->name, "b");

    const Art& a = *doc->get(doc->findByName("a"));
    EXPECT_EQ(a.style.fill, (Rgb{0, 1, 0})) << "fill inherited from the layer";
    EXPECT_EQ(a.style.stroke, (Rgb{0, 0, 1})) << "style wins over the inherited attribute";
    EXPECT_EQ(a.style.strokeWidth, 4);
    const Art& b = *doc->get(doc->findByName("b"));
    EXPECT_FALSE(b.style.fill.has_value());
    EXPECT_EQ(b.style.stroke, (Rgb{1, 0, 0}));
    EXPECT_EQ(b.style.strokeWidth, 6) << "stroke width scales with the element's transform";
    EXPECT_EQ(b.attrs & kCCArtHidden, kCCArtHidden);

    const Art& donut = *doc->get(doc->findByName("donut"));
    EXPECT_EQ(donut.type, kCCCompoundPathArt);
    ASSERT_EQ(doc->children(donut.id).size(), 2u);
    EXPECT_TRUE(doc->get(doc->children(donut.id)[0])->style.evenOdd);
    EXPECT_EQ(doc->children(top.group).size(), 1u) << "text is not drawn as a path";
}

TEST(SvgFormat, RoundTripKeepsGeometryToPrintedPrecisionAndEveryAttribute)
{
    TempDir dir;
    auto doc = richDocument(false);
    // SVG colours have 8 bits per component, and path data has no place for the handles before the first
    // and after the last anchor of an open path.
    doc->walk([&](const Art& a) {
        if (a.type != kCCPathArt || a.segments.empty())
            return true;
        Art& e = *doc->edit(a.id);
        if (e.style.fill)
            e.style.fill = Rgb{0.2, 0.4, 1};
        if (!e.closed) {
            e.segments.front().in = e.segments.front().anchor;
            e.segments.back().out = e.segments.back().anchor;
        }
        return true;
    });
    DocumentFile::save(*doc, dir / "doc.svg");
    auto back = DocumentFile::load(dir / "doc.svg");
    // y is written as height - y: reading it back costs at most a rounding of the page height's order.
    expectSameDocument(*doc, *back, 1e-15 * 2000);
    // And the file reads as SVG to others: layers, hidden and locked marks, absolute path data.
    std::string text = readFile(dir / "doc.svg");
    for (const char* part : {R"(inkscape:groupmode="layer")", R"(inkscape:label="Locked" sodipodi:insensitive="true")",
                             R"(inkscape:label="Hidden" style="display:none")", R"~(clip-path="url(#clip-clip1)")~",
                             R"(data-selection="0 1 2 3 4 0 1")"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    EXPECT_EQ(text.find(" c "), std::string::npos);
}

// ------------------------------------------------------------------ SVG: real logos

TEST(SvgFormat, LogosLoadAndSurviveBothFormats)
{
    fs::path corpus = "/work/shared/corpus/simple-icons";
    if (!fs::exists(corpus))
        corpus = fs::path(CURVICRAFT_SOURCE_DIR) / "../shared/corpus/simple-icons";
    if (!fs::exists(corpus))
        GTEST_SKIP() << "no logo corpus on this machine";
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(corpus))
        if (e.path().extension() == ".svg")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 50u);
    TempDir dir;
    std::size_t step = files.size() / 50, anchors = 0;
    for (std::size_t i = 0; i < 50; ++i) {
        const fs::path& file = files[i * step];
        SCOPED_TRACE(file.filename().string());
        auto doc = DocumentFile::load(file);
        // The logos are drawn inside their 24 x 24 view box; a wrong flip or scale would leave it.
        doc->walk([&](const Art& a) {
            for (const CCPathSegment& s : a.segments) {
                ++anchors;
                EXPECT_TRUE(s.anchor.x > -0.5 && s.anchor.x < 24.5 && s.anchor.y > -0.5 && s.anchor.y < 24.5)
                    << s.anchor.x << ", " << s.anchor.y;
            }
            return true;
        });
        DocumentFile::save(*doc, dir / "logo.svg");
        expectSameDocument(*doc, *DocumentFile::load(dir / "logo.svg"), 1e-14);
        DocumentFile::save(*doc, dir / "logo.json");
        expectSameDocument(*doc, *DocumentFile::load(dir / "logo.json"));
    }
    EXPECT_GT(anchors, 2000u);
}

// ------------------------------------------------------------------ SVG: bad files

TEST(SvgFormat, BadFilesAreRefusedNamingTheFileAndPlace)
{
    auto wrap = [](const std::string& body, const std::string& root = R"(width="10" height="10")") {
        return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + root + ">\n" + body + "\n</svg>";
    };
    const std::vector<BadFile> cases = {
        {"malformed XML", "<svg>\n  <g>\n</svg>", {"bad.svg:3:", "XML error"}},
        {"not svg", "<html/>", {"not an SVG document"}},
        {"path data", wrap(R"(<path id="p3" d="M0 0 L 1"/>)"), {"bad.svg:2:", "id=\"p3\"", "unparsable path data"}},
        {"no id", wrap(R"(<g><path d="M0 0 X 1"/></g>)"), {"bad.svg:2:", "(element 3)", "unparsable"}},
        {"nan", wrap(R"(<rect x="nan" width="1" height="1"/>)"), {"bad.svg:2:", "expected a length"}},
        {"huge", wrap(R"(<path d="M0 0 L 1e16 0"/>)"), {"bad.svg:2:", "1e+16", "1e15"}},
        {"overflow", wrap(R"(<path d="M0 0 L 1e999 0"/>)"), {"bad.svg:2:"}},
        {"huge transform",
         wrap(R"~(<path transform="scale(1e300)" d="M0 0 L 1e10 0"/>)~"),
         {"bad.svg:2:", "coordinate"}},
        {"page units", wrap("", R"(width="10em" height="10")"), {"bad.svg:1:", "unknown units \"em\""}},
        {"length units", wrap(R"(<circle r="2ex"/>)"), {"unknown units \"ex\""}},
        {"document units", wrap("", R"(width="10" data-units="furlong")"), {"unknown units \"furlong\""}},
        {"view box", wrap("", R"(viewBox="0 0 0 10")"), {"viewBox"}},
        {"transform", wrap(R"~(<path transform="spin(3)" d="M0 0 L1 1"/>)~"), {"unparsable transform"}},
        {"too many anchors", wrap("<polyline points=\"" + manyAnchors(32768, false) + "\"/>"), {"bad.svg:2:", "32767"}},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            SvgFormat::read(c.text, "bad.svg");
            ADD_FAILURE() << "accepted";
        } catch (const FileError& e) {
            std::string msg = e.what();
            EXPECT_EQ(msg.rfind("bad.svg", 0), 0u) << msg;
            for (const std::string& part : c.expected)
                EXPECT_NE(msg.find(part), std::string::npos) << msg << "\n  lacks: " << part;
        }
    }
    EXPECT_NO_THROW(SvgFormat::read(wrap("<polyline points=\"" + manyAnchors(32767, false) + "\"/>"), "ok.svg"));
}

// ------------------------------------------------------------------ damaged files

// Damaged copies of valid files either load, and then survive a save and a load unchanged, or are refused
// with a FileError; nothing else escapes the readers.
TEST(DocumentFile, DamagedFilesLoadOrAreRefusedCleanly)
{
    TempDir dir;
    auto doc = richDocument(false, 7);
    DocumentFile::save(*doc, dir / "seed.json");
    DocumentFile::save(*doc, dir / "seed.svg");
    std::mt19937_64 rng(99);
    const std::string alphabet = "{}[]<>\"',:;/ 0123456789.-+eEMLCZzAaHhVvSsQqTtnul#()=";
    for (const char* seed : {"seed.json", "seed.svg"}) {
        const std::string original = readFile(dir / seed);
        int loaded = 0;
        for (int round = 0; round < 300; ++round) {
            std::string text = original;
            int edits = 1 + static_cast<int>(rng() % 4);
            for (int e = 0; e < edits; ++e) {
                std::size_t at = rng() % text.size();
                switch (rng() % 3) {
                case 0:
                    text[at] = alphabet[rng() % alphabet.size()];
                    break;
                case 1:
                    text.erase(at, 1 + rng() % 8);
                    break;
                default:
                    text.insert(at, 1, alphabet[rng() % alphabet.size()]);
                    break;
                }
            }
            fs::path file = dir / (std::string("damaged") + fs::path(seed).extension().string());
            writeFile(file, text);
            try {
                auto back = DocumentFile::load(file);
                ++loaded;
                fs::path again = dir / (std::string("again") + fs::path(seed).extension().string());
                DocumentFile::save(*back, again);
                expectSameDocument(*back, *DocumentFile::load(again),
                                   fs::path(seed).extension() == ".svg" ? 1e-12 : -1);
            } catch (const FileError& e) {
                EXPECT_EQ(std::string(e.what()).rfind(file.string(), 0), 0u) << e.what();
            }
            if (::testing::Test::HasFailure())
                FAIL() << "damaged text:\n" << text;
        }
        EXPECT_GT(loaded, 0) << seed << ": some damage (in a number, a name) leaves a readable file";
    }
}

// ------------------------------------------------------------------ saving

TEST(DocumentFile, FailedSaveLeavesTheExistingFileUntouched)
{
    TempDir dir;
    Document good;
    addPath(good, good.layer(good.addLayer("L"))->group, "p", {{{1, 2}, {1, 2}, {1, 2}, 1}}, false);
    for (const char* name : {"doc.json", "doc.svg"}) {
        SCOPED_TRACE(name);
        DocumentFile::save(good, dir / name);
        std::string before = readFile(dir / name);

        struct Bad {
            const char* why;
            std::function<void(Document&)> spoil;
            const char* expected;
        };
        const std::vector<Bad> spoils = {
            {"nan", [](Document& d) { d.edit(d.findByName("p"))->segments[0].out.x = std::nan(""); },
             "path \"p\": anchor 0"},
            {"infinite", [](Document& d) { d.edit(d.findByName("p"))->segments[0].in.y = -INFINITY; }, "path \"p\""},
            {"too many anchors",
             [](Document& d) {
                 Art& a = *d.edit(d.findByName("p"));
                 a.segments.assign(32768, a.segments[0]);
                 a.selection.assign(32768, 0);
             },
             "32768 anchors"},
            {"units", [](Document& d) { d.units = "ft"; }, "unknown units"},
        };
        for (const Bad& b : spoils) {
            SCOPED_TRACE(b.why);
            Document bad;
            ObjectId layer = bad.layer(bad.addLayer("L"))->group;
            addPath(bad, layer, "p", good.get(good.findByName("p"))->segments, false);
            b.spoil(bad);
            try {
                DocumentFile::save(bad, dir / name);
                ADD_FAILURE() << "saved";
            } catch (const FileError& e) {
                EXPECT_NE(std::string(e.what()).find((dir / name).string()), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find(b.expected), std::string::npos) << e.what();
            }
            EXPECT_EQ(readFile(dir / name), before);
        }
    }
    // A target that cannot be replaced: the directory stays, no temporary file is left behind.
    fs::create_directory(dir / "taken.json");
    EXPECT_THROW(DocumentFile::save(good, dir / "taken.json"), FileError);
    EXPECT_TRUE(fs::is_directory(dir / "taken.json"));
    EXPECT_THROW(DocumentFile::save(good, dir / "missing" / "doc.json"), FileError);
    EXPECT_THROW(DocumentFile::save(good, dir / "doc.pdf"), FileError);
    std::size_t entries = std::distance(fs::directory_iterator(dir.path), fs::directory_iterator());
    EXPECT_EQ(entries, 3u) << "doc.json, doc.svg and taken.json only";
}

// ------------------------------------------------------------------ session scripts

TEST(Session, SplitsWordsLikeTheScriptLanguage)
{
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const std::vector<Case> cases = {
        {"  select  a\tb  ", {"select", "a", "b"}},
        {"tool \"Round Fillet tool\" # a comment", {"tool", "Round Fillet tool"}},
        {R"(panel E "<a>\"x\" \\ \n</a>")", {"panel", "E", R"(<a>"x" \ \n</a>)"}},
        {R"(say "" "#not a comment")", {"say", "", "#not a comment"}},
        {"open my\" \"file.json", {"open", "my file.json"}},
        {"# only a comment", {}},
        {"new 10 20\r", {"new", "10", "20"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitScriptLine(c.line), c.words) << c.line;
    EXPECT_THROW(splitScriptLine(R"(tool "unterminated)"), ScriptError);
    EXPECT_THROW(splitScriptLine(R"(tool "ends in escape\")"), ScriptError);
}

struct SessionRun {
    int status;
    std::string out, err;
};

SessionRun runScript(const std::string& text, const fs::path& script)
{
    Host host;
    std::ostringstream out, err;
    Session session(host, out, err);
    int status = session.run(text, script);
    return {status, out.str(), err.str()};
}

TEST(Session, ScriptErrorsStopWithFileLineAndStatus2)
{
    TempDir dir;
    writeFile(dir / "locked.json",
              jsonDoc(R"({ "type": "path", "id": "p", "locked": true, "segments": [ { "anchor": [0, 0] } ] },
        { "type": "path", "id": "q", "segments": [ { "anchor": [0, 0] }, { "anchor": [1, 0] } ] },
        { "type": "group", "id": "g", "children": [] })"));
    struct Case {
        const char* name;
        std::string script;
        std::string message; // after "FILE:LINE: "
        int line;
    };
    const std::vector<Case> cases = {
        {"unknown command", "new\nfrobnicate 3", "unknown command \"frobnicate\"", 2},
        {"too many words", "new 1 2 3", "usage: new [WIDTH HEIGHT]", 1},
        {"one size", "new 5", "give both WIDTH and HEIGHT", 1},
        {"bad number", "new 10 abc", "height \"abc\" is not a number", 1},
        {"not finite", "new inf 10", "width \"inf\" is not a number", 1},
        {"no document", "# nothing open yet\n\nselect all", "no document is open", 3},
        {"quote", "new\nopen \"locked.json", "unterminated quote", 2},
        {"missing file", "open absent.json", "absent.json: cannot open", 1},
        {"bad file", "open script.play", "unknown kind of document", 1},
        {"unknown id", "open locked.json\nselect q nobody", "no object has the id \"nobody\"", 2},
        {"locked", "open locked.json\nselect p", "cannot select \"p\": it is locked", 2},
        {"anchor count", "open locked.json\nanchors q 1", "\"q\" has 2 anchors, 1 selection states given", 2},
        {"anchor state", "open locked.json\nanchors q 1 5", "selection state \"5\" is not one of 0 1 2 3 4", 2},
        {"anchors of group", "open locked.json\nanchors g 1", "\"g\" is a group, not a path", 2},
        {"save nowhere", "new\nsave missing/out.json", "cannot write", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SessionRun r = runScript(c.script, dir / "script.play");
        EXPECT_EQ(r.status, Session::kScriptError);
        std::string prefix = (dir / "script.play").string() + ":" + std::to_string(c.line) + ": ";
        EXPECT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    // Commands before the error ran, the ones after it did not.
    SessionRun r = runScript("new 10 20\nprint\nbogus\nprint", dir / "script.play");
    EXPECT_EQ(r.out, "document 10 x 20 pt\nlayer \"Layer 1\"\n");
}

TEST(Session, StartsThePluginBeforeTheFirstCommandAndShutsItDownAfterTheLast)
{
    // The test plug-in reports every message it receives on the debugger channel.
    for (const char* script : {"new 5 5\nprint\n", "new 5 5\nprint\nnope\nprint\n"}) {
        HostOptions options;
        options.pluginsDir = CURVICRAFT_TEST_PLUGINS_DIR;
        Host host(options);
        ASSERT_EQ(host.loadPlugin("Test Plugin"), kCCNoErr);
        std::ostringstream out, err;
        Session session(host, out, err);
        session.run(script, "s.play");
        EXPECT_EQ(out.str(), "debug SP Interface / Startup result=0\n"
                             "document 5 x 5 pt\nlayer \"Layer 1\"\n"
                             "debug SP Interface / Shutdown\n")
            << script;
    }
}

TEST(Session, SelectsAsAUserClicksAndSavesBesideTheScript)
{
    TempDir dir;
    writeFile(dir / "in.json", jsonDoc(R"(
        { "type": "path", "id": "a", "segments": [ { "anchor": [0, 0] }, { "anchor": [1, 0] }, { "anchor": [1, 1] } ] },
        { "type": "group", "id": "g", "children": [
            { "type": "path", "id": "free", "segments": [ { "anchor": [0, 0] } ] },
            { "type": "path", "id": "fixed", "locked": true, "segments": [ { "anchor": [0, 0] } ] } ] },
        { "type": "path", "id": "gone", "hidden": true, "segments": [ { "anchor": [0, 0] } ] })"));
    SessionRun r =
        runScript("open in.json\nselect all\nsave all.json\nselect a\nanchors a 0 4 3\nsave out.svg\n", dir / "s.play");
    ASSERT_EQ(r.status, 0) << r.err;
    auto all = DocumentFile::load(dir / "all.json");
    EXPECT_EQ(all->get(all->findByName("a"))->attrs, kCCArtSelected | kCCArtFullySelected);
    EXPECT_EQ(all->get(all->findByName("free"))->attrs, kCCArtSelected | kCCArtFullySelected);
    EXPECT_EQ(all->get(all->findByName("fixed"))->attrs, kCCArtLocked) << "locked objects stay unselected";
    EXPECT_EQ(all->get(all->findByName("gone"))->attrs, kCCArtHidden);
    EXPECT_EQ(all->get(all->findByName("g"))->attrs & kCCArtSelected, kCCArtSelected);

    auto out = DocumentFile::load(dir / "out.svg");
    const Art& a = *out->get(out->findByName("a"));
    EXPECT_EQ(a.selection, (std::vector<std::int16_t>{0, 4, 3}));
    EXPECT_EQ(a.attrs, kCCArtSelected) << "partly selected anchors: selected, not wholly";
    EXPECT_EQ(out->get(out->findByName("free"))->attrs, 0) << "select replaces the selection";
}

TEST(Cli, InfoPrintsTheTreeAndExitStatusesTellFailures)
{
    TempDir dir;
    writeFile(dir / "bad.json", "{ nope");
    writeFile(dir / "err.play", "new\nnope\n");
    auto run = [&](const std::string& args) {
        std::string cmd = std::string(CURVICRAFT_CLI_PATH) + " " + args + " >" + (dir / "out").string() + " 2>" +
                          (dir / "err").string();
        int rc = std::system(cmd.c_str());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    };
    EXPECT_EQ(run("info " + (fs::path(CURVICRAFT_SOURCE_DIR) / "examples/hello.json").string()), 0);
    EXPECT_EQ(readFile(dir / "out"), "document 400 x 300 pt\n"
                                     "layer \"Drawing\"\n"
                                     "  group badge\n"
                                     "    path stem open 2 anchors\n"
                                     "    path triangle closed 3 anchors\n"
                                     "  path card closed 8 anchors\n"
                                     "layer \"Background\" locked\n"
                                     "  path frame closed 4 anchors\n");
    EXPECT_EQ(run("info " + (dir / "bad.json").string()), 1);
    EXPECT_NE(readFile(dir / "err").find((dir / "bad.json").string() + ":1:"), std::string::npos)
        << readFile(dir / "err");
    EXPECT_EQ(run("play " + (dir / "absent.play").string()), 1);
    EXPECT_EQ(run("play " + (dir / "err.play").string()), 2);
    EXPECT_EQ(readFile(dir / "err").rfind((dir / "err.play").string() + ":2: unknown command", 0), 0u)
        << readFile(dir / "err");
}

} // namespace
