// A minihost with one document and the plug-in's suite pointers acquired, for calling kernel routines
// directly. Paths are built from short strings: "M 0,0 L 10,0 C 12,0 15,3 15,5 Z".
#pragma once

#include "Document.h"
#include "Host.h"
#include "host/Suites.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kerneltest {

using minihost::ObjectId;

struct PathSpec {
    std::vector<CCPathSegment> segments;
    bool closed = false;
};

// Commands M x,y (first anchor), L x,y (straight), C x1,y1 x2,y2 x,y (cubic), Z (closed). Anchors are
// corners with retracted handles unless a curve sets them. A closing curve that ends on the first anchor
// gives its in handle to anchor 0 instead of adding an anchor.
inline PathSpec parsePath(const std::string& text)
{
    PathSpec shape;
    std::istringstream in(text);
    std::string word;
    auto point = [&](std::istream& s) {
        std::string t;
        s >> t;
        CCRealPoint p{};
        if (std::sscanf(t.c_str(), "%lf,%lf", &p.x, &p.y) != 2)
            ADD_FAILURE() << "bad point '" << t << "' in " << text;
        return p;
    };
    while (in >> word) {
        if (word == "M" || word == "L") {
            CCRealPoint p = point(in);
            shape.segments.push_back(CCPathSegment{p, p, p, 1});
        } else if (word == "C") {
            CCRealPoint c1 = point(in), c2 = point(in), p = point(in);
            if (shape.segments.empty()) {
                ADD_FAILURE() << "C without M in " << text;
                return shape;
            }
            shape.segments.back().out = c1;
            shape.segments.push_back(CCPathSegment{p, c2, p, 1});
        } else if (word == "Z") {
            shape.closed = true;
            auto& s = shape.segments;
            if (s.size() > 1 && s.back().anchor.x == s.front().anchor.x && s.back().anchor.y == s.front().anchor.y) {
                s.front().in = s.back().in;
                s.pop_back();
            }
        } else {
            ADD_FAILURE() << "bad command '" << word << "' in " << text;
        }
    }
    return shape;
}

class KernelFixture : public ::testing::Test {
  protected:
    minihost::Host host;
    minihost::Document* doc = nullptr;
    ObjectId layer = 0;

    void SetUp() override
    {
        resetDocument();
        acquire(curvicraft::gFirstSuites);
        acquire(curvicraft::gMainSuites);
    }

    // A fresh document with one empty layer (for tables of cases within one test).
    void resetDocument()
    {
        auto d = std::make_unique<minihost::Document>();
        layer = d->addLayer("Layer 1");
        doc = d.get();
        host.setDocument(std::move(d));
    }

    void TearDown() override
    {
        // Every working buffer must be back with the host whatever the routine did.
        for (const auto& block : host.heldBlocks())
            ADD_FAILURE() << "block still held: " << block.debugName << " (" << block.size << " bytes)";
        release(curvicraft::gMainSuites);
        release(curvicraft::gFirstSuites);
    }

    ObjectId layerGroup() const { return doc->layer(layer)->group; }

    // A path on top of the container (the layer when 0), with attributes set through the host's rules.
    ObjectId addPath(const std::string& text, ObjectId parent = 0, std::int32_t attrs = 0)
    {
        return addPath(parsePath(text), parent, attrs);
    }

    ObjectId addPath(const PathSpec& shape, ObjectId parent = 0, std::int32_t attrs = 0)
    {
        ObjectId id = doc->create(kCCPathArt, kCCPlaceInsideOnTop, parent);
        EXPECT_NE(id, 0u);
        minihost::Art* art = doc->edit(id);
        art->segments = shape.segments;
        art->selection.assign(shape.segments.size(), kCCSegmentNotSelected);
        art->closed = shape.closed;
        if (attrs != 0)
            doc->setAttrs(id, attrs, attrs);
        return id;
    }

    ObjectId addContainer(std::int16_t type, ObjectId parent = 0, std::int32_t attrs = 0)
    {
        ObjectId id = doc->create(type, kCCPlaceInsideOnTop, parent);
        EXPECT_NE(id, 0u);
        if (attrs != 0)
            doc->setAttrs(id, attrs, attrs);
        return id;
    }

    static CCArtHandle h(ObjectId id) { return minihost::toHandle(id); }
    const std::vector<CCPathSegment>& segs(ObjectId id) const { return doc->get(id)->segments; }
    const minihost::Art& art(ObjectId id) const { return *doc->get(id); }

  private:
    void acquire(curvicraft::SuiteEntry* table)
    {
        for (auto* row = table; row->name != nullptr; ++row)
            ASSERT_EQ(host.basicSuite()->AcquireSuite(row->name, row->version, row->pointer), kCCNoErr) << row->name;
    }
    void release(curvicraft::SuiteEntry* table)
    {
        for (auto* row = table; row->name != nullptr; ++row) {
            host.basicSuite()->ReleaseSuite(row->name, row->version);
            *row->pointer = nullptr;
        }
    }
};

} // namespace kerneltest
