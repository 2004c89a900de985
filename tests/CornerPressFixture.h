// Whole presses of a corner tool through PluginMain on a minihost document: the fixture starts the plug-in,
// selects a tool, builds paths and takes snapshots of everything a user can see.
#pragma once

#include "HostImpl_p.h"
#include "KernelFixture.h"
#include "geometry/PointMath.h"
#include "geometry/Tolerances.h"
#include "host/CurvicraftPlugin.h"
#include "host/PluginEntry.h"
#include "tools/framework/CurvicraftGlobals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace cornertest {

using namespace curvicraft;
using kerneltest::parsePath;
using kerneltest::PathSpec;

inline RealPoint bezierPoint(const RealPoint& p0, const RealPoint& p1, const RealPoint& p2, const RealPoint& p3,
                             double t)
{
    const double s = 1 - t;
    return RealPoint{s * s * s * p0.x + 3 * s * s * t * p1.x + 3 * s * t * t * p2.x + t * t * t * p3.x,
                     s * s * s * p0.y + 3 * s * s * t * p1.y + 3 * s * t * t * p2.y + t * t * t * p3.y};
}

// The largest |distance to centre - r| / r over both cubic pieces of the arc.
inline double arcDeviation(const PathSegment arc[3], const RealPoint& centre, double r)
{
    double worst = 0;
    for (int piece = 0; piece < 2; ++piece) {
        const PathSegment& a = arc[piece];
        const PathSegment& b = arc[piece + 1];
        for (int k = 0; k <= 200; ++k) {
            const RealPoint p = bezierPoint(a.anchor, a.out, b.in, b.anchor, k / 200.0);
            worst = std::max(worst, std::fabs(pointDistance(p, centre) - r) / std::fabs(r));
        }
    }
    return worst;
}

// The plug-in's entry run on the code linked into the tests, so that a test can set the tool's settings
// record the way the tool-options panel does.
inline CCErr linkedPluginMain(const char* caller, const char* selector, void* message)
{
    static constexpr PluginClass pluginClass = pluginClassOf<CurvicraftPlugin>();
    return runPluginEntry(pluginClass, caller, selector, message);
}

using minihost::ObjectId;

// What a user can see of the document: every object with its attributes and path data, in walk order.
struct ArtState {
    ObjectId id;
    std::int16_t type;
    std::int32_t attrs;
    ObjectId parent;
    std::vector<double> coords;
    std::vector<std::int32_t> corners;
    std::vector<std::int16_t> selection;
    bool closed;
    bool operator==(const ArtState&) const = default;
};

class CornerPressTest : public ::testing::Test {
  protected:
    std::vector<std::string> lines; // declared first: the host still prints while it shuts down
    minihost::Host host;
    minihost::Document* doc = nullptr;
    ObjectId layer = 0;

    // Starts the plug-in (the shipped library, or the linked code) and selects the named tool.
    void start(const char* toolName, bool linked = true)
    {
        host.setOutput([this](const std::string& line) { lines.push_back(line); });
        auto d = std::make_unique<minihost::Document>();
        layer = d->addLayer("Layer 1");
        doc = d.get();
        host.setDocument(std::move(d));
        ASSERT_EQ(host.loadPlugin(), kCCNoErr);
        if (linked)
            host.impl().plugin.entry = linkedPluginMain;
        ASSERT_EQ(host.startup(), kCCNoErr);
        const CCToolHandle tool = host.findTool(toolName);
        ASSERT_NE(tool, nullptr);
        ASSERT_EQ(host.selectTool(tool), kCCNoErr);
    }

    ObjectId addPath(const std::string& text, std::int32_t attrs = kCCArtSelected, ObjectId parent = 0)
    {
        return addPath(parsePath(text), attrs, parent);
    }

    ObjectId addPath(const PathSpec& shape, std::int32_t attrs = kCCArtSelected, ObjectId parent = 0)
    {
        const ObjectId id = doc->create(kCCPathArt, kCCPlaceInsideOnTop, parent);
        minihost::Art* art = doc->edit(id);
        art->segments = shape.segments;
        art->selection.assign(shape.segments.size(), kCCSegmentNotSelected);
        art->closed = shape.closed;
        if (attrs != 0)
            doc->setAttrs(id, attrs, attrs);
        return id;
    }

    // Mouse-down, the drag steps, and the release at the last point (or at the press point).
    void press(const RealPoint& at, const std::vector<RealPoint>& drags, std::int32_t releaseModifiers = 0)
    {
        ASSERT_EQ(host.mouseDown(at), kCCNoErr);
        for (const RealPoint& p : drags)
            ASSERT_EQ(host.mouseDrag(p), kCCNoErr);
        ASSERT_EQ(host.mouseUp(drags.empty() ? at : drags.back(), releaseModifiers), kCCNoErr);
    }

    const std::vector<CCPathSegment>& segs(ObjectId id) const { return doc->get(id)->segments; }

    std::vector<ArtState> snapshot() const
    {
        std::vector<ArtState> all;
        doc->walk([&](const minihost::Art& a) {
            ArtState s{a.id, a.type, a.attrs, a.parent, {}, {}, a.selection, a.closed};
            for (const CCPathSegment& seg : a.segments) {
                s.coords.insert(s.coords.end(), {seg.anchor.x, seg.anchor.y, seg.in.x, seg.in.y, seg.out.x, seg.out.y});
                s.corners.push_back(seg.corner);
            }
            all.push_back(std::move(s));
            return true;
        });
        return all;
    }

    // The objects of the layer besides its layer group.
    std::size_t artCount() const { return snapshot().size() - 1; }

    bool printed(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
};

inline RealPoint towards(const RealPoint& from, double length, double degrees)
{
    return addPoints(from, polarPoint(length, degrees * kPi / 180));
}

} // namespace cornertest
