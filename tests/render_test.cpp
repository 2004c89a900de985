// Pictures read back from PNG files: the pixels that matter, not whole images.
#include "Host.h"
#include "Session.h"
#include "io/DocumentFile.h"
#include "render/Render.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using minihost::render::Picture;
using minihost::render::Rgba;
namespace fs = std::filesystem;

struct RenderFiles : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("curvicraft-render-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    fs::path write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir / name) << text;
        return dir / name;
    }
    int cli(const std::string& args)
    {
        std::string cmd = std::string(CURVICRAFT_CLI_PATH) + " " + args + " 2>" + (dir / "err.txt").string();
        return WEXITSTATUS(std::system(cmd.c_str()));
    }
};

bool white(Rgba p) { return p.r == 255 && p.g == 255 && p.b == 255; }
bool near(Rgba p, int r, int g, int b, int tol = 40)
{
    return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol;
}
// Thin lines are anti-aliased over two pixel rows or columns: these look at a pixel and its neighbours.
bool selectionBlue(Rgba p) { return p.b > 200 && p.g > p.r + 15 && p.b > p.g + 30; }
template <class Pred> bool around(const Picture& pic, int col, int row, Pred pred)
{
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            if (pred(pic.at(col + dc, row + dr)))
                return true;
    return false;
}

// A 200 x 100 page: a red square near the bottom left, a hidden blue one beside it, a vertical guide
// styled with a thick black fill and stroke, an even-odd and a non-zero ring, a stroked outline, and a
// green square on a hidden layer.
std::string square(const std::string& id, double x0, double y0, double x1, double y1, const std::string& extra)
{
    std::ostringstream s;
    s << R"({ "type": "path", "id": ")" << id << R"(", "closed": true, )" << extra << R"(, "segments": [)"
      << "{\"anchor\": [" << x0 << ", " << y0 << "]}, {\"anchor\": [" << x1 << ", " << y0 << "]}, "
      << "{\"anchor\": [" << x1 << ", " << y1 << "]}, {\"anchor\": [" << x0 << ", " << y1 << "]}] }";
    return s.str();
}

std::string ring(const std::string& id, double x, bool evenOdd)
{
    const std::string style = std::string(R"("fill": "#000080", "evenOdd": )") + (evenOdd ? "true" : "false");
    return R"({ "type": "compound", "id": ")" + id + R"(", "children": [)" +
           square(id + "o", x, 60, x + 30, 90, style) + ", " + square(id + "i", x + 10, 70, x + 20, 80, style) + "] }";
}

std::string pageDocument()
{
    return R"({ "format": "curvicraft-document", "version": 1, "width": 200, "height": 100, "layers": [
      { "name": "Top", "art": [ )" +
           square("red", 10, 10, 50, 50, R"("fill": "#ff0000", "selected": true)") + ", " +
           square("hidden", 60, 10, 100, 50, R"("fill": "#0000ff", "hidden": true)") + ", " +
           R"({ "type": "path", "id": "guide", "guide": true, "fill": "#000000", "stroke": "#000000",
                "strokeWidth": 8, "segments": [ {"anchor": [150.25, 0]}, {"anchor": [150.25, 100]} ] }, )" +
           ring("evenodd", 110, true) + ", " + ring("nonzero", 160, false) + ", " +
           square("outline", 110, 10, 140, 40, R"("fill": null, "stroke": "#00a000", "strokeWidth": 2)") +
           R"( ] },
      { "name": "Off", "visible": false, "art": [ )" +
           square("green", 10, 60, 50, 90, R"("fill": "#00ff00")") + " ] } ] }";
}

TEST_F(RenderFiles, PageDrawnTheRightWayUpAtTheRequestedWidth)
{
    fs::path doc = write("page.json", pageDocument()), png = dir / "page.png";
    ASSERT_EQ(cli("render " + doc.string() + " -o " + png.string() + " --width 400"), 0);
    const Picture p = minihost::render::readPng(png);
    ASSERT_EQ(p.width, 400);
    ASSERT_EQ(p.height, 200);
    // Document point (x, y) is pixel (2x, 2(100 - y)).
    auto at = [&](double x, double y) { return p.at(int(2 * x), int(2 * (100 - y))); };
    struct Case {
        const char* what;
        double x, y;
        bool filled;
        int r, g, b;
    };
    for (const Case& c : {
             Case{"inside the red square", 30, 30, true, 255, 0, 0},
             Case{"just inside its bottom left corner", 11, 11, true, 255, 0, 0},
             Case{"above it: the y axis points up", 30, 70, false, 0, 0, 0},
             Case{"outside it, to the right", 55, 30, false, 0, 0, 0},
             Case{"the hidden square", 80, 30, false, 0, 0, 0},
             Case{"the square on the hidden layer", 30, 75, false, 0, 0, 0},
             Case{"the even-odd ring's hole", 125, 75, false, 0, 0, 0},
             Case{"the even-odd ring itself", 113, 75, true, 0, 0, 128},
             Case{"the non-zero ring's inner square", 175, 75, true, 0, 0, 128},
             Case{"inside the stroked outline", 125, 25, false, 0, 0, 0},
             Case{"on the outline's edge", 125, 10, true, 0, 160, 0},
             Case{"beside the guide: no fill or stroke of its own", 147, 50, false, 0, 0, 0},
         }) {
        Rgba px = at(c.x, c.y);
        if (c.filled)
            EXPECT_TRUE(near(px, c.r, c.g, c.b)) << c.what << ": " << int(px.r) << " " << int(px.g) << " " << int(px.b);
        else
            EXPECT_TRUE(white(px)) << c.what << ": " << int(px.r) << " " << int(px.g) << " " << int(px.b);
    }
    // The guide is a thin cyan line, one pixel wide, its style ignored.
    EXPECT_TRUE(near(p.at(300, 100), 0, 255, 255, 10));
    EXPECT_TRUE(white(p.at(302, 100)));
    // Without --show-anchors the selected square shows no selection marks; with it, it does.
    auto blueCount = [](const Picture& pic) {
        int n = 0;
        for (int row = 0; row < pic.height; ++row)
            for (int col = 0; col < pic.width; ++col)
                n += selectionBlue(pic.at(col, row));
        return n;
    };
    EXPECT_EQ(blueCount(p), 0);
    ASSERT_EQ(cli("render " + doc.string() + " -o " + png.string() + " --show-anchors"), 0);
    const Picture marked = minihost::render::readPng(png);
    EXPECT_EQ(marked.width, 200) << "one pixel a point by default";
    EXPECT_TRUE(around(marked, 12, 90, selectionBlue)) << "the hollow anchor square at (10, 10)";
    EXPECT_TRUE(white(marked.at(10, 90))) << "its inside: no anchor of the square is selected in the file";
    EXPECT_TRUE(around(marked, 30, 50, selectionBlue)) << "its top edge outlined";
}

TEST_F(RenderFiles, BadInputsGiveAnErrorAndNoPicture)
{
    fs::path doc = write("page.json", pageDocument());
    struct Case {
        const char* what;
        std::string args;
        int status;
    };
    for (const Case& c : {
             Case{"missing document", (dir / "none.json").string() + " -o " + (dir / "a.png").string(), 1},
             Case{"unwritable picture", doc.string() + " -o " + (dir / "no" / "a.png").string(), 1},
             Case{"width out of range", doc.string() + " -o " + (dir / "a.png").string() + " --width 0", 105},
             Case{"width too large", doc.string() + " -o " + (dir / "a.png").string() + " --width 100000", 105},
         }) {
        EXPECT_NE(cli("render " + c.args), 0) << c.what;
        EXPECT_FALSE(fs::exists(dir / "a.png")) << c.what;
    }
    minihost::Document huge;
    huge.width = 1e9;
    EXPECT_THROW(minihost::render::renderDocument(huge, {}), minihost::render::RenderError);
    huge.width = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(minihost::render::renderDocument(huge, {}), minihost::render::RenderError);
    EXPECT_THROW(minihost::render::readPng(doc), minihost::render::RenderError) << "not a PNG";

    // A path with a NaN and one with huge coordinates are skipped or pinned; the rest is drawn.
    std::unique_ptr<minihost::Document> d = minihost::DocumentFile::load(doc);
    auto addPath = [&](std::vector<CCRealPoint> points) {
        minihost::Art* a = d->edit(d->create(kCCPathArt, kCCPlaceAbove, d->findByName("red")));
        for (const CCRealPoint& p : points)
            a->segments.push_back({p, p, p, 1});
        a->selection.assign(points.size(), kCCSegmentPointSelected);
        a->closed = true;
        a->attrs |= kCCArtSelected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    addPath({{0, 0}, {nan, 50}, {200, 100}});
    addPath({{-1e300, 95}, {1e300, 95}, {1e300, 1e300}});
    minihost::render::RenderOptions options;
    options.showSelection = true;
    const Picture p = minihost::render::renderDocument(*d, options);
    EXPECT_TRUE(near(p.at(30, 70), 255, 0, 0)) << "the red square is still drawn";
    EXPECT_TRUE(near(p.at(30, 2), 0, 0, 0, 10)) << "the huge path covers the top of the page: " << int(p.at(30, 2).r) << " " << int(p.at(30, 2).g) << " " << int(p.at(30, 2).b);
}

// Runs a session script with the real plug-in; the pictures it renders land in dir.
struct RenderSession : RenderFiles {
    std::string errors;
    int play(const std::string& script)
    {
        fs::copy_file(fs::path(CURVICRAFT_SOURCE_DIR) / "tests/sessions/roundfillet.json", dir / "roundfillet.json",
                      fs::copy_options::overwrite_existing);
        minihost::Host host;
        std::ostringstream out, err;
        host.setOutput([&](const std::string& line) { out << line << '\n'; });
        minihost::Session session(host, out, err);
        int status = session.run(script, dir / "s.play");
        errors = err.str();
        return status;
    }
};

TEST_F(RenderSession, PictureDuringAPressShowsTheGuideAndTheLabel)
{
    ASSERT_EQ(play("open roundfillet.json\ntool \"Round Fillet tool\"\npress 100 100\ndrag 80 80\n"
                   "render during.png\nrelease 80 80\nrender after.png\n"),
              minihost::Session::kOk);
    EXPECT_EQ(errors, "");
    const Picture during = minihost::render::readPng(dir / "during.png");
    const Picture after = minihost::render::readPng(dir / "after.png");
    ASSERT_EQ(during.width, 300);
    // The tool's temporary art runs from the tangent point (100, 80) through the cursor (80, 80) to (80, 100).
    // It is a plain new path, so it shows with the host's default style: filled black. Its centroid
    // (86.7, 86.7) is pixel (87, 213); the square itself is not filled.
    EXPECT_TRUE(near(during.at(87, 213), 0, 0, 0, 10)) << "the temporary art during the press";
    EXPECT_TRUE(white(after.at(87, 213))) << "gone after the release";
    // The label's box hangs 16 pixels right of and below the cursor.
    Rgba box = during.at(97, 237);
    EXPECT_FALSE(white(box));
    EXPECT_TRUE(box.r == box.g && box.g == box.b) << "a gray box";
    EXPECT_TRUE(white(after.at(97, 237)));
    // The square stays selected: its anchors are drawn in the selection colour.
    EXPECT_TRUE(around(after, 2, 200, selectionBlue)) << "the anchor square at (0, 100)";
}

TEST_F(RenderSession, SelectionMarksFollowTheAnchorStates)
{
    write("curve.json", R"({ "format": "curvicraft-document", "version": 1, "width": 200, "height": 200, "layers": [
      { "name": "L", "art": [ { "type": "path", "id": "c", "closed": false, "fill": null, "segments": [
        { "anchor": [40, 100], "out": [40, 160] },
        { "anchor": [160, 100], "in": [160, 160], "out": [160, 40] } ] } ] } ] })");
    ASSERT_EQ(play("open curve.json\nrender none.png\nanchors c 1 0\nrender first.png\nanchors c 0 1\n"
                   "render second.png\n"),
              minihost::Session::kOk);
    const Picture none = minihost::render::readPng(dir / "none.png");
    const Picture first = minihost::render::readPng(dir / "first.png");
    const Picture second = minihost::render::readPng(dir / "second.png");
    // Anchors at pixels (40, 100) and (160, 100); the first one's handle ends at (40, 40), the second's at
    // (160, 40) and (160, 160).
    for (auto [col, row] : {std::pair{40, 100}, {160, 100}, {40, 40}, {160, 160}})
        EXPECT_TRUE(white(none.at(col, row))) << "unselected: nothing at " << col << " " << row;

    EXPECT_TRUE(selectionBlue(first.at(40, 100))) << "anchor in state 1 filled";
    EXPECT_TRUE(white(first.at(160, 100))) << "unselected anchor hollow";
    EXPECT_TRUE(around(first, 158, 100, selectionBlue)) << "its square's border";
    EXPECT_TRUE(selectionBlue(first.at(40, 40))) << "handle of the selected anchor";
    EXPECT_TRUE(around(first, 40, 70, selectionBlue)) << "its handle line";
    EXPECT_TRUE(white(first.at(160, 160))) << "no handles on the unselected anchor";

    EXPECT_TRUE(selectionBlue(second.at(160, 100)));
    EXPECT_TRUE(selectionBlue(second.at(160, 160)) && selectionBlue(second.at(160, 40))) << "both handles";
    EXPECT_TRUE(white(second.at(40, 40)));

    EXPECT_EQ(errors, "");
    EXPECT_EQ(play("open curve.json\nrender nowhere/x.png\n"), minihost::Session::kScriptError);
    EXPECT_NE(errors.find("s.play:2: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("cannot write the picture"), std::string::npos) << errors;
}

TEST_F(RenderFiles, CompareSheetShowsBeforeAndAfter)
{
    fs::path doc = write("square.json", R"({ "format": "curvicraft-document", "version": 1, "width": 100, "height": 100,
      "layers": [ { "name": "L", "art": [ )" + square("s", 0, 0, 100, 100, R"("fill": "#000000")") + " ] } ] }");
    fs::path sheet = dir / "sheet.png";
    ASSERT_EQ(cli("round " + doc.string() + " -o " + (dir / "out.json").string() + " --convex 30 --compare " +
                  sheet.string() + " >/dev/null"),
              0);
    const Picture p = minihost::render::readPng(sheet);
    // Two 320-pixel columns with 16-pixel margins, below a 20-pixel caption line.
    ASSERT_EQ(p.width, 3 * 16 + 2 * 320);
    ASSERT_EQ(p.height, 16 + 20 + 320 + 16);
    const int top = 36, left = 16, right = 16 * 2 + 320;
    EXPECT_TRUE(near(p.at(left + 1, top + 1), 0, 0, 0, 10)) << "before: the sharp corner is filled";
    EXPECT_TRUE(white(p.at(right + 1, top + 1))) << "after: the corner is rounded off";
    EXPECT_TRUE(near(p.at(right + 160, top + 160), 0, 0, 0, 10)) << "after: the middle stays filled";
}

} // namespace
