// The geometry kernel against minihost documents: selection gathering, object transforms, segment arrays,
// hit-part editing, smoothing, path closing and the segment buffers behind them.
#include "KernelFixture.h"

#include "geometry/AnchorSmoothing.h"
#include "geometry/ArtSelection.h"
#include "geometry/HitPartEditing.h"
#include "geometry/ObjectTransforms.h"
#include "geometry/PathClosing.h"
#include "geometry/PathObjects.h"
#include "geometry/PointMath.h"
#include "geometry/SegmentArrays.h"
#include "geometry/SegmentBuffer.h"
#include "geometry/Tolerances.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

using namespace curvicraft;
using kerneltest::KernelFixture;
using kerneltest::parsePath;
using minihost::ObjectId;

namespace {

constexpr double kNear = 1e-9;

void expectNear(const RealPoint& actual, const RealPoint& expected, const char* what, double tol = kNear)
{
    EXPECT_NEAR(actual.x, expected.x, tol) << what;
    EXPECT_NEAR(actual.y, expected.y, tol) << what;
}

bool same(const RealPoint& a, const RealPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

bool same(const PathSegment& a, const PathSegment& b)
{
    return same(a.anchor, b.anchor) && same(a.in, b.in) && same(a.out, b.out) && a.corner == b.corner;
}

ToolHit hitOf(ObjectId path, HitPart part, std::int16_t index, double t = 0)
{
    ToolHit hit;
    hit.hit = 1;
    hit.part = part;
    hit.segmentIndex = index;
    hit.path = minihost::toHandle(path);
    hit.t = t;
    return hit;
}

std::vector<ArtHandle> listed(CCMemoryHandle list, std::int32_t count)
{
    ArtHandle* art = nullptr;
    EXPECT_EQ(selectionListArt(list, &art), kCCNoErr);
    return art ? std::vector<ArtHandle>(art, art + count) : std::vector<ArtHandle>{};
}

bool contains(const std::vector<ArtHandle>& v, ObjectId id)
{
    return std::find(v.begin(), v.end(), minihost::toHandle(id)) != v.end();
}

// Replaces the path suite by a copy that counts record reads and writes and can refuse writes.
class PathSpy {
  public:
    PathSpy() : saved_(sPath)
    {
        real_ = sPath;
        table_ = *sPath;
        table_.GetPathSegments = &get;
        table_.SetPathSegments = &set;
        reads = writes = 0;
        failWrites = kCCNoErr;
        sPath = &table_;
    }
    ~PathSpy() { sPath = saved_; }
    PathSpy(const PathSpy&) = delete;
    PathSpy& operator=(const PathSpy&) = delete;

    static inline int reads = 0;
    static inline int writes = 0;
    static inline CCErr failWrites = kCCNoErr;

  private:
    static CCErr get(CCArtHandle p, std::int16_t first, std::int16_t count, CCPathSegment* out)
    {
        ++reads;
        return real_->GetPathSegments(p, first, count, out);
    }
    static CCErr set(CCArtHandle p, std::int16_t first, std::int16_t count, const CCPathSegment* in)
    {
        ++writes;
        return failWrites != kCCNoErr ? failWrites : real_->SetPathSegments(p, first, count, in);
    }
    static inline const CCPathSuite* real_ = nullptr;
    const CCPathSuite* saved_;
    CCPathSuite table_{};
};

// Wraps the matching-art suite to remember every list the host hands out, so a test can tell whether the
// kernel gave each one back.
class MatchingArtSpy {
  public:
    MatchingArtSpy() : saved_(sMatchingArt)
    {
        real_ = sMatchingArt;
        table_ = *sMatchingArt;
        table_.GetMatchingArt = &matching;
        table_.GetSelectedArt = &selected;
        lists.clear();
        sMatchingArt = &table_;
    }
    ~MatchingArtSpy() { sMatchingArt = saved_; }
    MatchingArtSpy(const MatchingArtSpy&) = delete;
    MatchingArtSpy& operator=(const MatchingArtSpy&) = delete;

    // Lists handed out and not yet disposed.
    static int outstanding()
    {
        int n = 0;
        for (CCMemoryHandle list : lists) {
            std::size_t size = 0;
            n += sMdMemory->GetHandleSize(list, &size) == kCCNoErr;
        }
        return n;
    }

    static inline std::vector<CCMemoryHandle> lists;

  private:
    static CCErr matching(const CCMatchingArtSpec* triples, std::int16_t n, CCMemoryHandle* list, std::int32_t* count)
    {
        CCErr err = real_->GetMatchingArt(triples, n, list, count);
        if (err == kCCNoErr)
            lists.push_back(*list);
        return err;
    }
    static CCErr selected(CCMemoryHandle* list, std::int32_t* count)
    {
        CCErr err = real_->GetSelectedArt(list, count);
        if (err == kCCNoErr)
            lists.push_back(*list);
        return err;
    }
    static inline const CCMatchingArtSuite* real_ = nullptr;
    const CCMatchingArtSuite* saved_;
    CCMatchingArtSuite table_{};
};

} // namespace

// ---- point math ---------------------------------------------------------------------------------------

TEST_F(KernelFixture, PointMathGivesTheHostsBits)
{
    const double big = 1e300, tiny = 5e-324;
    const RealPoint pts[] = {{0, 0},     {3, 4},      {-0.0, -0.0},  {-1, -0.0},    {-1, 0},    {1e-300, -2e-300},
                             {big, big}, {-big, big}, {tiny, -tiny}, {12.5, -7.25}, {0.1, 0.2}, {-3, 1e-17}};
    for (const auto& a : pts) {
        for (const auto& b : pts) {
            SCOPED_TRACE(testing::Message() << "(" << a.x << "," << a.y << ") (" << b.x << "," << b.y << ")");
            const double hostAngle = sRealMath->PointAngle(&a, &b);
            if (hostAngle > -kPi) {
                EXPECT_EQ(pointAngle(a, b), hostAngle); // equal values; coincident points give 0 of either sign
            } else {
                // The host answers atan2's -pi for a -0 difference; the kernel keeps to (-pi, pi].
                EXPECT_EQ(pointAngle(a, b), pointsEqual(a, b) ? 0.0 : kPi);
            }
            EXPECT_EQ(std::bit_cast<std::uint64_t>(pointDistance(a, b)),
                      std::bit_cast<std::uint64_t>(sRealMath->PointLength(&a, &b)));
            EXPECT_EQ(pointsEqual(a, b), sRealMath->PointEqual(&a, &b) != 0);
            for (double t : {0.0, 0.5, 1.0, 0.3}) {
                RealPoint host{};
                sRealMath->PointInterpolate(&a, &b, t, &host);
                RealPoint ours = interpolatePoints(a, b, t);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(ours.x), std::bit_cast<std::uint64_t>(host.x));
                EXPECT_EQ(std::bit_cast<std::uint64_t>(ours.y), std::bit_cast<std::uint64_t>(host.y));
            }
        }
        const double angle = vectorAngle(a);
        EXPECT_GT(angle, -kPi);
        EXPECT_LE(angle, kPi);
        RealPoint host{};
        sRealMath->PointLengthAngle(a.x, a.y, &host);
        RealPoint ours = polarPoint(a.x, a.y);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ours.x), std::bit_cast<std::uint64_t>(host.x));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ours.y), std::bit_cast<std::uint64_t>(host.y));
    }
    EXPECT_EQ(vectorAngle({-1, -0.0}), kPi); // atan2's -pi folds onto pi
    EXPECT_EQ(vectorAngle({0, 0}), 0.0);
}

// ---- segment buffers ----------------------------------------------------------------------------------

TEST_F(KernelFixture, SegmentBufferRoundTripsAPathAndFreesItsBlock)
{
    ObjectId p = addPath("M 0,0 C 1,2 3,4 5,6 L 7,8");
    {
        SegmentBuffer buf;
        ASSERT_EQ(buf.readPath(h(p)), kCCNoErr);
        ASSERT_EQ(buf.size(), 3);
        auto held = host.heldBlocks();
        ASSERT_EQ(held.size(), 1u);
        EXPECT_EQ(held[0].debugName, "segs buffer");
        EXPECT_EQ(held[0].size, 3 * sizeof(PathSegment));
        EXPECT_TRUE(same(buf[1], segs(p)[1]));
        buf[2].anchor = {70, 80};
        ASSERT_EQ(buf.writePath(h(p)), kCCNoErr);

        SegmentBuffer named;
        ASSERT_EQ(named.allocate(5, "round buffer"), kCCNoErr);
        EXPECT_EQ(host.heldBlocks().size(), 2u);
        SegmentBuffer moved = std::move(named);
        EXPECT_TRUE(named.empty());
        EXPECT_EQ(moved.size(), 5);
        EXPECT_EQ(host.heldBlocks().size(), 2u);
    }
    EXPECT_TRUE(host.heldBlocks().empty());
    EXPECT_TRUE(same(segs(p)[2].anchor, {70, 80}));
    EXPECT_TRUE(same(segs(p)[0].anchor, {0, 0}));
}

TEST_F(KernelFixture, SegmentBufferFailuresHoldNothing)
{
    ObjectId p = addPath("M 0,0 L 1,1");
    doc->dispose(p);
    SegmentBuffer buf;
    EXPECT_NE(buf.readPath(h(p)), kCCNoErr); // stale handle: the host's status
    EXPECT_TRUE(buf.empty());
    EXPECT_EQ(buf.allocate(-1), kCCBadParameterErr);
    EXPECT_EQ(buf.allocate(kCCMaxPathSegments + 1), kCCBadParameterErr);
    EXPECT_EQ(buf.allocate(0), kCCNoErr);
    EXPECT_TRUE(host.heldBlocks().empty());
}

// ---- selection gathering ------------------------------------------------------------------------------

TEST_F(KernelFixture, CollectSelectedPathsTable)
{
    struct Case {
        const char* name;
        std::function<std::vector<ObjectId>()> build; // returns the paths that must be listed
        CCErr expected;
        std::int32_t totalAnchors;
    };
    const Case cases[] = {
        {"one selected path", [&] { return std::vector{addPath("M 0,0 L 1,0 L 1,1", 0, kAttrSelected)}; }, 0, 3},
        {"nothing selected",
         [&] {
             addPath("M 0,0 L 1,0");
             return std::vector<ObjectId>{};
         },
         kNoSelectionErr, 0},
        {"paths in a group and a compound path",
         [&] {
             ObjectId g = addContainer(kCCGroupArt);
             ObjectId a = addPath("M 0,0 L 1,0 L 2,0", g, kAttrSelected);
             ObjectId c = addContainer(kCCCompoundPathArt);
             ObjectId b = addPath("M 0,0 L 1,0 L 1,1 L 0,1 Z", c);
             ObjectId d = addPath("M 5,5 L 6,6", c);
             doc->selectWhole(c);
             return std::vector{a, b, d};
         },
         0, 9},
        {"selected group without paths",
         [&] {
             ObjectId g = addContainer(kCCGroupArt);
             ObjectId r = doc->create(kCCRasterArt, kCCPlaceInsideOnTop, g);
             doc->setAttrs(r, kAttrSelected, kAttrSelected);
             return std::vector<ObjectId>{};
         },
         kNoSelectionErr, 0},
        {"locked member of a selected group",
         [&] {
             ObjectId g = addContainer(kCCGroupArt);
             addPath("M 0,0 L 1,0", g, kAttrLocked);
             addPath("M 0,0 L 1,0", g, kAttrSelected);
             return std::vector<ObjectId>{};
         },
         kLockedInGroupErr, 0},
        {"hidden member of a selected compound path",
         [&] {
             ObjectId c = addContainer(kCCCompoundPathArt);
             addPath("M 0,0 L 1,0", c, kAttrSelected);
             addPath("M 0,0 L 1,0", c, kAttrHidden);
             return std::vector<ObjectId>{};
         },
         kLockedInGroupErr, 0},
        {"locked object two levels down is not examined",
         [&] {
             ObjectId outer = addContainer(kCCGroupArt);
             ObjectId inner = addContainer(kCCGroupArt, outer);
             addPath("M 0,0 L 1,0", inner, kAttrLocked);
             return std::vector{addPath("M 0,0 L 1,0", outer, kAttrSelected)};
         },
         0, 2},
        {"locked object at the top of the layer",
         [&] {
             addPath("M 0,0 L 1,0", 0, kAttrLocked | kAttrHidden);
             return std::vector{addPath("M 0,0 L 1,0", 0, kAttrSelected)};
         },
         0, 2},
        {"type-on-a-path parent is no group",
         [&] {
             ObjectId t = addContainer(kCCTextPathArt);
             addPath("M 0,0 L 1,0", t, kAttrLocked);
             return std::vector{addPath("M 0,0 L 1,0 L 2,2", t, kAttrSelected)};
         },
         0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        std::vector<ObjectId> paths = c.build();
        MatchingArtSpy spy;
        CCMemoryHandle list = reinterpret_cast<CCMemoryHandle>(0x1);
        std::int32_t count = -1, total = -1;
        ASSERT_EQ(collectSelectedPaths(&list, &count, &total), c.expected);
        if (c.expected != kCCNoErr) {
            EXPECT_EQ(list, nullptr);
            EXPECT_EQ(MatchingArtSpy::outstanding(), 0); // disposed by the kernel
            continue;
        }
        EXPECT_EQ(total, c.totalAnchors);
        std::vector<ArtHandle> got = listed(list, count);
        for (ObjectId p : paths)
            EXPECT_TRUE(contains(got, p));
        EXPECT_EQ(MatchingArtSpy::outstanding(), 1); // the caller's
        EXPECT_EQ(sMdMemory->DisposeHandle(list), kCCNoErr);
    }
}

TEST_F(KernelFixture, CollectSelectionForTransformTable)
{
    struct Case {
        const char* name;
        std::function<std::vector<ObjectId>()> build; // the exact objects listed
        CCErr expected;
    };
    const Case cases[] = {
        {"nothing selected",
         [&] {
             addPath("M 0,0 L 1,0");
             return std::vector<ObjectId>{};
         },
         kNoSelectionErr},
        {"a group is not a target, its paths are",
         [&] {
             ObjectId g = addContainer(kCCGroupArt);
             ObjectId a = addPath("M 0,0 L 1,0", g);
             ObjectId b = addPath("M 0,0 L 1,0", g);
             doc->selectWhole(g);
             return std::vector{b, a};
         },
         0},
        {"topmost target locked",
         [&] {
             addPath("M 0,0 L 1,0", 0, kAttrSelected);
             addPath("M 0,0 L 1,0", 0, kAttrSelected | kAttrLocked);
             return std::vector<ObjectId>{};
         },
         kLockedInGroupErr},
        {"topmost target hidden placed art",
         [&] {
             addPath("M 0,0 L 1,0", 0, kAttrSelected);
             ObjectId placed = doc->create(kCCPlacedArt, kCCPlaceInsideOnTop, 0);
             doc->setAttrs(placed, kAttrSelected | kAttrHidden, kAttrSelected | kAttrHidden);
             return std::vector<ObjectId>{};
         },
         kLockedInGroupErr},
        {"locked target below the first is not examined",
         [&] {
             ObjectId a = addPath("M 0,0 L 1,0", 0, kAttrSelected | kAttrLocked);
             ObjectId r = doc->create(kCCRasterArt, kCCPlaceInsideOnTop, 0);
             doc->setAttrs(r, kAttrSelected, kAttrSelected);
             return std::vector{r, a};
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        std::vector<ObjectId> expected = c.build();
        MatchingArtSpy spy;
        CCMemoryHandle list = reinterpret_cast<CCMemoryHandle>(0x1);
        std::int32_t count = -1;
        ASSERT_EQ(collectSelectionForTransform(&list, &count), c.expected);
        if (c.expected != kCCNoErr) {
            EXPECT_EQ(list, nullptr);
            EXPECT_EQ(MatchingArtSpy::outstanding(), 0);
            continue;
        }
        std::vector<ArtHandle> want;
        for (ObjectId id : expected)
            want.push_back(h(id));
        EXPECT_EQ(listed(list, count), want);
        EXPECT_EQ(sMdMemory->DisposeHandle(list), kCCNoErr);
    }
}

TEST_F(KernelFixture, SelectArtTreeAndDeselectAll)
{
    ObjectId g = addContainer(kCCGroupArt);
    ObjectId c = addContainer(kCCCompoundPathArt, g);
    ObjectId inCompound = addPath("M 0,0 L 1,0 L 1,1", c);
    ObjectId inner = addContainer(kCCGroupArt, g);
    ObjectId deep = addPath("M 0,0 L 1,0", inner);
    ObjectId outside = addPath("M 5,5 L 6,6");

    ASSERT_EQ(selectArtTree(h(g)), kCCNoErr);
    for (ObjectId id : {g, c, inCompound, inner, deep})
        EXPECT_EQ(art(id).attrs & kAttrSelectedWhole, kAttrSelectedWhole) << id;
    EXPECT_EQ(art(outside).attrs & kAttrSelected, 0);
    EXPECT_TRUE(artIsSelected(h(deep)));
    EXPECT_FALSE(artIsSelected(h(outside)));
    EXPECT_FALSE(artIsSelected(nullptr));

    doc->setAttrs(outside, kAttrSelected, kAttrSelected);
    MatchingArtSpy spy;
    ASSERT_EQ(deselectAllArt(), kCCNoErr);
    EXPECT_EQ(MatchingArtSpy::lists.size(), 1u);
    EXPECT_EQ(MatchingArtSpy::outstanding(), 0);
    doc->walk([&](const minihost::Art& a) {
        EXPECT_EQ(a.attrs & kAttrSelected, 0) << a.id;
        return true;
    });
    EXPECT_FALSE(artIsSelected(h(outside)));
}

TEST_F(KernelFixture, TypeOnAPathChecks)
{
    struct Case {
        const char* name;
        std::int16_t parentType;
        bool whole; // path selected as a whole (which makes its only-child parent whole too)
        CCErr check;
    };
    const Case cases[] = {
        {"type-on-a-path selected as a whole", kCCTextPathArt, true, kTextPathErr},
        {"type-on-a-path partly selected", kCCTextPathArt, false, 0},
        {"group selected as a whole", kCCGroupArt, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        ObjectId parent = addContainer(c.parentType);
        ObjectId p = addPath("M 0,0 L 10,0", parent, kAttrSelected);
        if (c.whole)
            doc->selectWhole(p);
        EXPECT_EQ(checkNotOnTextPath(h(p)), c.check);
        CCBool32 released = 7;
        ASSERT_EQ(releaseTextPathSelection(h(p), &released), kCCNoErr);
        EXPECT_EQ(released, c.check != 0 ? 1 : 0);
        if (c.check != 0) {
            EXPECT_EQ(art(parent).attrs & kAttrFullySelected, 0);
            EXPECT_EQ(art(p).attrs & kAttrFullySelected, 0);
            EXPECT_TRUE(artIsSelected(h(p)));
            EXPECT_EQ(checkNotOnTextPath(h(p)), kCCNoErr);
        }
    }
    ObjectId top = addPath("M 0,0 L 1,1", 0, kAttrSelected); // in the layer group: no parent to check
    EXPECT_EQ(checkNotOnTextPath(h(top)), kCCNoErr);
}

// ---- object transforms --------------------------------------------------------------------------------

namespace {

RealPoint rotated(const RealPoint& p, double a, const RealPoint& o)
{
    const double x = p.x - o.x, y = p.y - o.y;
    return {o.x + x * std::cos(a) - y * std::sin(a), o.y + x * std::sin(a) + y * std::cos(a)};
}

RealPoint reflected(const RealPoint& p, double a, const RealPoint& o)
{
    const double x = p.x - o.x, y = p.y - o.y, c = std::cos(a), s = std::sin(a);
    const double along = x * c + y * s;
    return {o.x + 2 * along * c - x, o.y + 2 * along * s - y};
}

} // namespace

TEST_F(KernelFixture, ObjectTransformsMatchTheComposedMatrices)
{
    const RealPoint o{3, -2};
    struct Case {
        const char* name;
        std::function<CCErr(ArtHandle)> apply;
        std::function<RealPoint(const RealPoint&)> expect;
    };
    const Case cases[] = {
        {"rotate then scale", [&](ArtHandle a) { return transformArtAbout(a, 0.5, 2, -3, o); },
         [&](const RealPoint& p) {
             RealPoint r = rotated(p, 0.5, o);
             return RealPoint{o.x + 2 * (r.x - o.x), o.y - 3 * (r.y - o.y)};
         }},
        {"transform without rotation", [&](ArtHandle a) { return transformArtAbout(a, 0, 0.5, 0.5, o); },
         [&](const RealPoint& p) {
             return RealPoint{o.x + 0.5 * (p.x - o.x), o.y + 0.5 * (p.y - o.y)};
         }},
        {"transform without scale", [&](ArtHandle a) { return transformArtAbout(a, -1.2, 1, 1, o); },
         [&](const RealPoint& p) { return rotated(p, -1.2, o); }},
        {"scale", [&](ArtHandle a) { return scaleArtAbout(a, -1, 4, o); },
         [&](const RealPoint& p) {
             return RealPoint{o.x - (p.x - o.x), o.y + 4 * (p.y - o.y)};
         }},
        {"scale and move", [&](ArtHandle a) { return scaleMoveArtAbout(a, 3, 0.25, 10, -20, o); },
         [&](const RealPoint& p) {
             return RealPoint{o.x + 3 * (p.x - o.x) + 10, o.y + 0.25 * (p.y - o.y) - 20};
         }},
        {"reflect", [&](ArtHandle a) { return reflectArtAcross(a, 0.7, o); },
         [&](const RealPoint& p) { return reflected(p, 0.7, o); }},
        {"rotate", [&](ArtHandle a) { return rotateArtAbout(a, kHalfPi, o); },
         [&](const RealPoint& p) { return rotated(p, kHalfPi, o); }},
        {"translate", [&](ArtHandle a) { return translateArt(a, -7.5, 2.25); },
         [&](const RealPoint& p) {
             return RealPoint{p.x - 7.5, p.y + 2.25};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        // A group holding a path, a nested group with a path, and a compound path of two paths.
        ObjectId g = addContainer(kCCGroupArt);
        ObjectId c1 = addContainer(kCCCompoundPathArt, g);
        ObjectId inner = addContainer(kCCGroupArt, g);
        std::vector<ObjectId> paths = {addPath("M 0,0 C 1,2 3,4 5,0 L 9,1", g), addPath("M -4,4 L 4,-4 Z", inner),
                                       addPath("M 1,1 L 2,1 L 2,2 Z", c1), addPath("M 10,0 C 12,1 13,5 10,9", c1)};
        ObjectId untouched = addPath("M 100,100 L 101,101");
        std::vector<std::vector<PathSegment>> before;
        for (ObjectId p : paths)
            before.push_back(segs(p));
        const auto untouchedBefore = segs(untouched);

        ASSERT_EQ(c.apply(h(g)), kCCNoErr);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            ASSERT_EQ(segs(paths[i]).size(), before[i].size());
            for (std::size_t k = 0; k < before[i].size(); ++k) {
                const PathSegment& s = segs(paths[i])[k];
                expectNear(s.anchor, c.expect(before[i][k].anchor), "anchor");
                expectNear(s.in, c.expect(before[i][k].in), "in");
                expectNear(s.out, c.expect(before[i][k].out), "out");
            }
        }
        for (std::size_t k = 0; k < untouchedBefore.size(); ++k)
            EXPECT_TRUE(same(segs(untouched)[k], untouchedBefore[k]));
    }
}

TEST_F(KernelFixture, ObjectTransformFailuresPassThrough)
{
    ObjectId p = addPath("M 0,0 L 1,0");
    doc->dispose(p);
    EXPECT_NE(rotateArtAbout(h(p), 1, {0, 0}), kCCNoErr);
    EXPECT_NE(translateArt(h(p), 1, 0), kCCNoErr);
}

TEST_F(KernelFixture, ReflectPointAcrossALine)
{
    const struct {
        RealPoint p, origin;
        double angle;
        RealPoint expected;
    } cases[] = {
        {{3, 4}, {0, 0}, 0, {3, -4}},
        {{3, 4}, {1, 1}, kHalfPi, {-1, 4}},
        {{2, 0}, {0, 0}, kPi / 4, {0, 2}},
        {{5, 5}, {1, 1}, kPi / 4, {5, 5}}, // on the line
    };
    for (const auto& c : cases) {
        RealPoint p = c.p;
        reflectPointAcross(p, c.origin, c.angle);
        expectNear(p, c.expected, "reflected");
        reflectPointAcross(p, c.origin, c.angle);
        expectNear(p, c.p, "reflected twice");
    }
}

// ---- whole-path objects -------------------------------------------------------------------------------

TEST_F(KernelFixture, MakeRectanglePathKeepsTheCornerOrder)
{
    const struct {
        double x0, y0, x1, y1;
    } cases[] = {{0, 0, 10, 5}, {10, 0, -2, 5}, {1, 1, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1);
        ObjectId p = addPath("");
        ArtHandle out = nullptr;
        ASSERT_EQ(makeRectanglePath(c.x0, c.y0, c.x1, c.y1, &out, h(p)), kCCNoErr);
        EXPECT_EQ(out, h(p));
        const RealPoint corners[] = {{c.x0, c.y0}, {c.x0, c.y1}, {c.x1, c.y1}, {c.x1, c.y0}};
        ASSERT_EQ(segs(p).size(), 4u);
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(same(segs(p)[i], PathSegment{corners[i], corners[i], corners[i], 1})) << i;
        EXPECT_TRUE(art(p).closed);
        EXPECT_TRUE(artIsSelected(h(p)));
    }
    ObjectId longer = addPath("M 0,0 L 1,0 L 2,0 L 3,0 L 4,0 L 5,0");
    ArtHandle out = nullptr;
    ASSERT_EQ(makeRectanglePath(0, 0, 1, 1, &out, h(longer)), kCCNoErr);
    EXPECT_EQ(segs(longer).size(), 4u);
}

namespace {

// Replaces the expand suite by one that records the objects it is asked to expand, without expanding
// them, and answers a given status.
class ExpandSpy {
  public:
    ExpandSpy() : saved_(sExpand)
    {
        table_ = *sExpand;
        table_.Expand = &expand;
        calls.clear();
        status = kCCNoErr;
        sExpand = &table_;
    }
    ~ExpandSpy() { sExpand = saved_; }
    ExpandSpy(const ExpandSpy&) = delete;
    ExpandSpy& operator=(const ExpandSpy&) = delete;

    static inline std::vector<ArtHandle> calls;
    static inline CCErr status = kCCNoErr;

  private:
    static CCErr expand(CCArtHandle art, std::int32_t flags, std::int32_t steps)
    {
        calls.push_back(art);
        EXPECT_EQ(flags, kCCExpandStroke);
        EXPECT_EQ(steps, 1);
        return status;
    }
    const CCExpandSuite* saved_;
    CCExpandSuite table_{};
};

} // namespace

TEST_F(KernelFixture, ExpandStrokedPathsSkippingRules)
{
    auto styled = [&](const char* path, bool fill, bool stroke) {
        ObjectId id = addPath(path, 0, kAttrSelected);
        minihost::Art* a = doc->edit(id);
        a->style.fill = fill ? std::optional(minihost::Rgb{}) : std::nullopt;
        a->style.stroke = stroke ? std::optional(minihost::Rgb{}) : std::nullopt;
        a->style.strokeWidth = 2;
        return id;
    };
    const ObjectId openStroked = styled("M 0,0 L 10,0", false, true);
    const ObjectId openFilledStroked = styled("M 0,0 L 10,0 L 10,10", true, true);
    const ObjectId closedStroked = styled("M 0,0 L 10,0 L 10,10 Z", false, true);
    const ObjectId unstroked = styled("M 0,0 L 10,0", true, false);
    const ObjectId group = addContainer(kCCGroupArt);
    const std::vector<ArtHandle> objects = {h(group), h(openStroked), h(openFilledStroked), h(closedStroked),
                                            h(unstroked)};

    CCMemoryHandle list = nullptr;
    ASSERT_EQ(sMdMemory->NewHandle(objects.size() * sizeof(ArtHandle), &list), kCCNoErr);
    void* block = nullptr;
    ASSERT_EQ(sMdMemory->GetHandleBlock(list, &block), kCCNoErr);
    std::copy(objects.begin(), objects.end(), static_cast<ArtHandle*>(block));
    const auto count = static_cast<std::int32_t>(objects.size());

    struct Case {
        const char* name;
        bool openOnly;
        CCErr status;
        std::vector<ArtHandle> expanded;
    };
    const Case cases[] = {
        {"every stroked path", false, 0, {h(openStroked), h(openFilledStroked), h(closedStroked)}},
        {"open unfilled paths only", true, 0, {h(openStroked)}},
        {"the first failure ends the walk", false, kCCCantErr, {h(openStroked)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpandSpy spy;
        ExpandSpy::status = c.status;
        EXPECT_EQ(expandStrokedPaths(list, count, c.openOnly), c.status);
        EXPECT_EQ(ExpandSpy::calls, c.expanded);
    }

    // Through the host: the open stroked path becomes a filled outline and the others stay as they were.
    const auto closedBefore = segs(closedStroked);
    ASSERT_EQ(expandStrokedPaths(list, count, true), kCCNoErr);
    EXPECT_TRUE(!doc->valid(openStroked) || !art(openStroked).style.stroke);
    EXPECT_TRUE(art(closedStroked).style.stroke.has_value());
    EXPECT_EQ(segs(closedStroked).size(), closedBefore.size());
    EXPECT_TRUE(art(openFilledStroked).style.stroke.has_value());
    EXPECT_EQ(sMdMemory->DisposeHandle(list), kCCNoErr);
}

// ---- segment arrays -----------------------------------------------------------------------------------

namespace {

std::vector<PathSegment> sampleSegments(int n)
{
    std::vector<PathSegment> v;
    for (int i = 0; i < n; ++i) {
        double x = 10.0 * i, y = (i % 2) ? 5.0 : -3.0;
        v.push_back(PathSegment{{x, y}, {x - 1, y + 2 + i}, {x + 3, y - 1}, i % 2});
    }
    return v;
}

// Curve k of an open array: anchor k-1, its out, anchor k's in, anchor k.
BezierCurve curve(const std::vector<PathSegment>& v, int k)
{
    return {v[k - 1].anchor, v[k - 1].out, v[k].in, v[k].anchor};
}

} // namespace

TEST(SegmentArrays, ReverseSegmentsTraversesTheSameCurvesBackwards)
{
    for (int n : {1, 2, 3, 4, 7}) {
        SCOPED_TRACE(n);
        const auto original = sampleSegments(n);
        auto v = original;
        reverseSegments(v.data(), n);
        for (int i = 0; i < n; ++i) {
            const PathSegment& from = original[n - 1 - i];
            EXPECT_TRUE(same(v[i], PathSegment{from.anchor, from.out, from.in, from.corner})) << i;
        }
        for (int k = 1; k < n; ++k) {
            BezierCurve fwd = curve(original, n - k), back = curve(v, k);
            EXPECT_TRUE(same(back.p0, fwd.p3) && same(back.p1, fwd.p2) && same(back.p2, fwd.p1) &&
                        same(back.p3, fwd.p0));
        }
        reverseSegments(v.data(), n);
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE(same(v[i], original[i]));
    }
}

TEST_F(KernelFixture, MirrorSegmentsAlongChordReflectsAcrossTheChordDirection)
{
    const char* shapes[] = {"M 0,0 C 1,3 4,3 5,0", "M 2,1 C 3,5 6,6 7,4 L 9,9", "M 1,1 C 2,2 3,0 1,1", "M 4,-2"};
    for (const char* text : shapes) {
        SCOPED_TRACE(text);
        auto original = parsePath(text).segments;
        const int n = static_cast<int>(original.size());
        original[0].corner = 0;
        auto v = original;
        mirrorSegmentsAlongChord(v.data(), n);
        const double a = std::atan2(original[n - 1].anchor.y - original[0].anchor.y,
                                    original[n - 1].anchor.x - original[0].anchor.x);
        for (int i = 0; i < n; ++i) {
            expectNear(v[i].anchor, reflected(original[i].anchor, a, {0, 0}), "anchor");
            expectNear(v[i].in, reflected(original[i].in, a, {0, 0}), "in");
            expectNear(v[i].out, reflected(original[i].out, a, {0, 0}), "out");
            EXPECT_EQ(v[i].corner, original[i].corner);
        }
    }
}

// ---- moving hit parts ---------------------------------------------------------------------------------

TEST_F(KernelFixture, AlignAndMoveSegmentToPoint)
{
    // Anchor (10,10) with out handle (10,15) (x on the anchor's) and in handle (7,8).
    const PathSegment start{{10, 10}, {7, 8}, {10, 15}, 0};
    const struct {
        const char* name;
        std::function<CCErr(ArtHandle)> apply;
        PathSegment expected;
    } cases[] = {
        {"x axis",
         [](ArtHandle p) {
             return alignSegmentToPointAxis(p, 1, true, {20, 99});
         },
         {{20, 10}, {17, 8}, {20, 15}, 0}},
        {"y axis",
         [](ArtHandle p) {
             return alignSegmentToPointAxis(p, 1, false, {99, 12});
         },
         {{10, 12}, {7, 10}, {10, 17}, 0}},
        {"both axes",
         [](ArtHandle p) {
             return moveSegmentToPoint(p, 1, {0.1, -0.3});
         },
         {{0.1, -0.3}, {7 + (0.1 - 10), 8 + (-0.3 - 10)}, {0.1, 15 + (-0.3 - 10)}, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        kerneltest::PathSpec shape = parsePath("M 0,0 L 10,10 L 20,0");
        shape.segments[1] = start;
        ObjectId p = addPath(shape);
        ASSERT_EQ(c.apply(h(p)), kCCNoErr);
        EXPECT_TRUE(same(segs(p)[1], c.expected));
        EXPECT_TRUE(same(segs(p)[0].anchor, {0, 0}));
    }
    resetDocument();
    ObjectId p = addPath("M 0,0 L 1,1");
    EXPECT_NE(moveSegmentToPoint(h(p), 5, {0, 0}), kCCNoErr); // no such record: the host's status
}

TEST_F(KernelFixture, MoveHitPartToPoint)
{
    const PathSegment smooth{{10, 0}, {6, -3}, {14, 3}, 0}; // in at distance 5, out at distance 5
    const RealPoint P{10, 8};
    struct Case {
        const char* name;
        HitPart part;
        bool turnOpposite;
        CCBool32 corner;
        RealPoint point;
        PathSegment expected;
        bool writes;
    };
    const Case cases[] = {
        {"anchor moves with its handles", HitPart::Anchor, false, 0, {11, 1}, {{11, 1}, {7, -2}, {15, 4}, 0}, true},
        {"anchor already there", HitPart::Anchor, true, 0, {10, 0}, smooth, false},
        {"out handle on a smooth anchor turns the in handle",
         HitPart::OutHandle,
         true,
         0,
         P,
         {{10, 0}, {10, -5}, P, 0},
         true},
        {"out handle on a corner anchor moves alone", HitPart::OutHandle, true, 1, P, {{10, 0}, {6, -3}, P, 1}, true},
        {"out handle without turning makes a corner", HitPart::OutHandle, false, 0, P, {{10, 0}, {6, -3}, P, 1}, true},
        {"in handle on a smooth anchor turns the out handle",
         HitPart::InHandle,
         true,
         0,
         {10, -2},
         {{10, 0}, {10, -2}, {10, 5}, 0},
         true},
        {"handle already there", HitPart::InHandle, true, 0, {6, -3}, smooth, false},
        {"curve hit writes the record back unchanged", HitPart::Curve, true, 0, P, smooth, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        kerneltest::PathSpec shape = parsePath("M 0,0 L 10,0 L 20,0");
        shape.segments[1] = smooth;
        shape.segments[1].corner = c.corner;
        ObjectId p = addPath(shape);
        PathSpy spy;
        ASSERT_EQ(moveHitPartToPoint(hitOf(p, c.part, 1), c.turnOpposite, c.point, nullptr), kCCNoErr);
        EXPECT_EQ(PathSpy::writes, c.writes ? 1 : 0);
        const PathSegment& expected = c.expected;
        const PathSegment& got = segs(p)[1];
        expectNear(got.anchor, expected.anchor, "anchor", 1e-12);
        expectNear(got.in, expected.in, "in", 1e-12);
        expectNear(got.out, expected.out, "out", 1e-12);
        EXPECT_EQ(got.corner, expected.corner);
        EXPECT_EQ(doc->children(layerGroup()).size(), 1u); // no feedback without a slot
    }
}

TEST_F(KernelFixture, MoveHitPartToPointDrawsHandleFeedback)
{
    const RealPoint P{3, 7};
    for (HitPart part : {HitPart::Anchor, HitPart::OutHandle, HitPart::InHandle}) {
        SCOPED_TRACE(static_cast<int>(part));
        resetDocument();
        ObjectId p = addPath("M 0,0 C 1,1 2,2 5,0");
        ArtHandle slot = nullptr;
        ASSERT_EQ(moveHitPartToPoint(hitOf(p, part, part == HitPart::OutHandle ? 0 : 1), false, P, &slot), kCCNoErr);
        const auto top = doc->children(layerGroup());
        if (part == HitPart::Anchor) {
            EXPECT_EQ(slot, nullptr);
            EXPECT_EQ(top.size(), 1u);
            continue;
        }
        ASSERT_EQ(top.size(), 2u);
        ASSERT_EQ(slot, h(top.front())); // on top of the layer
        const RealPoint anchor = part == HitPart::OutHandle ? RealPoint{0, 0} : RealPoint{5, 0};
        ASSERT_EQ(segs(top.front()).size(), 2u);
        EXPECT_TRUE(same(segs(top.front())[0], PathSegment{anchor, anchor, anchor, 1}));
        EXPECT_TRUE(same(segs(top.front())[1], PathSegment{P, P, P, 1}));
    }
}

TEST_F(KernelFixture, SelectHitPartsModes)
{
    using S = SegmentSelectionState;
    struct Case {
        const char* name;
        const char* path;
        HitPart part;
        std::int16_t index;
        HitSelectionMode mode;
        std::vector<S> expected;
    };
    const Case cases[] = {
        {"anchor hit",
         "M 0,0 L 1,0 L 2,0 L 3,0",
         HitPart::Anchor,
         2,
         HitSelectionMode::HitPart,
         {S::None, S::None, S::AnchorAndHandles, S::None}},
        {"handle hit",
         "M 0,0 L 1,0 L 2,0 L 3,0",
         HitPart::InHandle,
         0,
         HitSelectionMode::HitPart,
         {S::AnchorAndHandles, S::None, S::None, S::None}},
        {"curve hit",
         "M 0,0 L 1,0 L 2,0 L 3,0",
         HitPart::Curve,
         2,
         HitSelectionMode::HitPart,
         {S::None, S::OutHandle, S::InHandle, S::None}},
        {"closing curve of a closed path",
         "M 0,0 L 1,0 L 2,0 L 3,0 Z",
         HitPart::Curve,
         0,
         HitSelectionMode::HitPart,
         {S::InHandle, S::None, S::None, S::OutHandle}},
        {"no part",
         "M 0,0 L 1,0 L 2,0 L 3,0",
         HitPart::None,
         1,
         HitSelectionMode::HitPart,
         {S::None, S::None, S::None, S::None}},
        {"everything with handles",
         "M 0,0 L 1,0 L 2,0 L 3,0",
         HitPart::Anchor,
         1,
         HitSelectionMode::AllWithHandles,
         {S::AnchorAndHandles, S::AnchorAndHandles, S::AnchorAndHandles, S::AnchorAndHandles}},
        {"every anchor",
         "M 0,0 L 1,0 L 2,0 L 3,0",
         HitPart::Curve,
         1,
         HitSelectionMode::AllAnchors,
         {S::Anchor, S::Anchor, S::Anchor, S::Anchor}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        ObjectId p = addPath(c.path);
        for (int i = 0; i < 4; ++i)
            doc->setAnchorSelection(p, i, kCCSegmentPointSelected); // stale states that must be cleared
        ASSERT_EQ(selectHitParts(hitOf(p, c.part, c.index), c.mode), kCCNoErr);
        std::vector<S> got;
        for (auto s : art(p).selection)
            got.push_back(static_cast<S>(s));
        EXPECT_EQ(got, c.expected);
    }
}

// ---- smoothing ----------------------------------------------------------------------------------------

namespace {

// The handle's direction from the anchor is opposite to the reference's.
void expectOpposite(const RealPoint& anchor, const RealPoint& handle, const RealPoint& reference)
{
    const double a = std::atan2(handle.y - anchor.y, handle.x - anchor.x);
    const double r = std::atan2(reference.y - anchor.y, reference.x - anchor.x);
    EXPECT_NEAR(std::fabs(std::remainder(a - r, 2 * kPi)), kPi, 1e-12);
}

} // namespace

TEST_F(KernelFixture, SmoothAnchorAtCurve)
{
    struct Case {
        const char* name;
        const char* path;   // every anchor starts smooth so that a change to corner shows
        std::int16_t index; // curve end anchor
        double t;
        int changed; // the anchor that changes, -1 for no write
        CCBool32 corner;
        std::function<void(const std::vector<PathSegment>&)> check;
    };
    const Case cases[] = {
        {"straight two-anchor open path, end anchor has no follower", "M 0,0 L 10,0", 1, 0.5, -1, 0, nullptr},
        {"straight two-anchor open path, start anchor has no predecessor", "M 0,0 L 10,0", 1, 0.2, -1, 0, nullptr},
        {"retracted end handle pulled toward the start's out handle, turned away from the follower",
         "M 0,0 C 3,6 10,0 10,0 L 20,5", 1, 0.7, 1, 0,
         [](const std::vector<PathSegment>& v) {
             EXPECT_NEAR(std::hypot(v[1].in.x - 10, v[1].in.y), std::sqrt(85.0) / 3, 1e-12);
             expectOpposite(v[1].anchor, v[1].in, {20, 5}); // anchor 2's retracted in handle
         }},
        {"end handle turned opposite the end's out handle, keeping its length",
         "M 0,0 C 3,6 8,4 10,0 C 12,-1 18,2 20,5", 1, 0.5, 1, 0,
         [](const std::vector<PathSegment>& v) {
             EXPECT_NEAR(std::hypot(v[1].in.x - 10, v[1].in.y), std::hypot(2.0, 4.0), 1e-12);
             expectOpposite(v[1].anchor, v[1].in, v[1].out);
         }},
        {"closing curve of a closed path: the end is anchor 0, followed by anchor 1",
         "M 0,0 L 10,0 L 10,10 C 10,10 0,5 0,0 Z", 0, 0.9, 0, 0,
         [](const std::vector<PathSegment>& v) {
             EXPECT_NEAR(std::hypot(v[0].in.x, v[0].in.y), 5, 1e-12);
             expectOpposite(v[0].anchor, v[0].in, {10, 0});
         }},
        {"start anchor with a handle but nothing to turn from becomes a corner", "M 0,0 C 2,3 8,0 10,0", 1, 0.1, 0, 1,
         [](const std::vector<PathSegment>& v) {
             EXPECT_TRUE(same(v[0].out, {2, 3}));
         }},
        {"start anchor's retracted out handle pulled out when it has a predecessor", "M -10,0 L 0,0 C 0,0 6,6 10,0", 2,
         0.3, 1, 0,
         [](const std::vector<PathSegment>& v) {
             EXPECT_NEAR(std::hypot(v[1].out.x, v[1].out.y), std::hypot(6.0, 6.0) / 3, 1e-12);
             expectOpposite(v[1].anchor, v[1].out, {-10, 0}); // anchor 0's retracted out handle
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        kerneltest::PathSpec shape = parsePath(c.path);
        for (auto& seg : shape.segments)
            seg.corner = 0;
        ObjectId p = addPath(shape);
        const auto before = segs(p);
        PathSpy spy;
        ASSERT_EQ(smoothAnchorAtCurve(hitOf(p, HitPart::Curve, c.index, c.t)), kCCNoErr);
        EXPECT_EQ(PathSpy::reads, 1); // one whole-path read
        EXPECT_EQ(PathSpy::writes, c.changed < 0 ? 0 : 1);
        const auto& after = segs(p);
        for (int i = 0; i < static_cast<int>(before.size()); ++i) {
            if (i != c.changed) {
                EXPECT_TRUE(same(after[i], before[i])) << "anchor " << i << " changed";
            }
        }
        if (c.changed >= 0) {
            EXPECT_EQ(after[c.changed].corner, c.corner);
            c.check(after);
        }
    }
}

TEST_F(KernelFixture, SmoothAnchorAtHandle)
{
    using Segs = std::vector<PathSegment>;
    // Anchor 1 of "M 0,0 L 10,0 L 20,0" with an in and an out handle at distance 5, not collinear, and a
    // dangling in handle on anchor 0.
    auto handles = [](Segs& v) {
        v[0].in = {-3, 4};
        v[1].in = {7, 4};
        v[1].out = {13, 4};
    };
    struct Case {
        const char* name;
        const char* path; // every anchor starts smooth so that a change to corner shows
        std::function<void(Segs&)> setup;
        HitPart part;
        std::int16_t index;
        int changed; // -1 for no write
        CCBool32 corner;
        std::function<void(const Segs&)> check;
    };
    const Case cases[] = {
        {"in handle of the first anchor of an open path turns from the follower's in handle", "M 0,0 L 10,0 L 20,0",
         handles, HitPart::InHandle, 0, 0, 0,
         [](const Segs& v) {
             expectOpposite(v[0].anchor, v[0].in, {7, 4});
             EXPECT_NEAR(std::hypot(v[0].in.x, v[0].in.y), 5, 1e-12);
         }},
        {"out handle turned opposite the in handle", "M 0,0 L 10,0 L 20,0", handles, HitPart::OutHandle, 1, 1, 0,
         [](const Segs& v) {
             expectOpposite(v[1].anchor, v[1].out, v[1].in);
             EXPECT_NEAR(std::hypot(v[1].out.x - 10, v[1].out.y), 5, 1e-12);
         }},
        {"retracted clicked handle changes nothing", "M 0,0 L 10,0 L 20,0", handles, HitPart::OutHandle, 2, -1, 0,
         nullptr},
        {"anchor hit changes nothing", "M 0,0 L 10,0 L 20,0", handles, HitPart::Anchor, 1, -1, 0, nullptr},
        {"two-anchor open path: no follower for the first anchor's in handle", "M 0,0 C 0,0 7,7 10,0",
         [](Segs& v) {
             v[0].in = {-1, 2};
         },
         HitPart::InHandle, 0, 0, 1,
         [](const Segs& v) {
             EXPECT_TRUE(same(v[0].in, {-1, 2}));
         }},
        {"two-anchor open path: no predecessor for the last anchor's out handle", "M 0,0 C 3,3 10,0 10,0",
         [](Segs& v) {
             v[1].out = {12, 2};
         },
         HitPart::OutHandle, 1, 1, 1,
         [](const Segs& v) {
             EXPECT_TRUE(same(v[1].out, {12, 2}));
         }},
        {"closed path: anchor 0's out handle turns from the last anchor's out handle", "M 0,0 L 10,0 L 10,10 Z",
         [](Segs& v) {
             v[0].out = {3, 0.5};
         },
         HitPart::OutHandle, 0, 0, 0,
         [](const Segs& v) {
             expectOpposite(v[0].anchor, v[0].out, {10, 10});
             EXPECT_NEAR(std::hypot(v[0].out.x, v[0].out.y), std::hypot(3, 0.5), 1e-12);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        kerneltest::PathSpec shape = parsePath(c.path);
        for (auto& seg : shape.segments)
            seg.corner = 0;
        c.setup(shape.segments);
        ObjectId p = addPath(shape);
        const auto before = segs(p);
        PathSpy spy;
        ASSERT_EQ(smoothAnchorAtHandle(hitOf(p, c.part, c.index)), kCCNoErr);
        EXPECT_EQ(PathSpy::writes, c.changed < 0 ? 0 : 1);
        const auto& after = segs(p);
        for (int i = 0; i < static_cast<int>(before.size()); ++i) {
            if (i != c.changed) {
                EXPECT_TRUE(same(after[i], before[i])) << "anchor " << i << " changed";
            }
        }
        if (c.changed >= 0) {
            EXPECT_EQ(after[c.changed].corner, c.corner);
            c.check(after);
        }
    }
}

TEST_F(KernelFixture, SmoothingFailuresReleaseTheirBuffers)
{
    ObjectId p = addPath("M 0,0 C 3,6 10,0 10,0 L 20,5");
    {
        PathSpy spy;
        PathSpy::failWrites = kCCCantErr;
        EXPECT_EQ(smoothAnchorAtCurve(hitOf(p, HitPart::Curve, 1, 0.9)), kCCCantErr);
        EXPECT_EQ(smoothAnchorAtHandle(hitOf(p, HitPart::OutHandle, 0)), kCCCantErr);
        EXPECT_TRUE(host.heldBlocks().empty());
    }
    EXPECT_EQ(smoothAnchorAtCurve(hitOf(p, HitPart::Curve, 7, 0.9)), kCCBadParameterErr);
    doc->dispose(p);
    EXPECT_NE(smoothAnchorAtCurve(hitOf(p, HitPart::Curve, 1, 0.9)), kCCNoErr);
    EXPECT_NE(smoothAnchorAtHandle(hitOf(p, HitPart::OutHandle, 0)), kCCNoErr);
    EXPECT_NE(moveHitPartToPoint(hitOf(p, HitPart::Anchor, 0), false, {1, 1}, nullptr), kCCNoErr);
    EXPECT_NE(selectHitParts(hitOf(p, HitPart::Anchor, 0), HitSelectionMode::HitPart), kCCNoErr);
}

// ---- drawing: lone anchors and closing ----------------------------------------------------------------

TEST_F(KernelFixture, IsLoneStartAnchor)
{
    struct Case {
        const char* name;
        const char* path; // nullptr: no path
        std::int32_t attrs;
        bool dispose;
        CCErr result;
        CCBool32 lone; // 7: left as it was
        bool slotCleared;
    };
    const Case cases[] = {
        {"no path", nullptr, 0, false, 0, 0, true},
        {"stale handle", "M 0,0", kAttrSelected, true, 0, 0, true},
        {"closed", "M 0,0 Z", kAttrSelected, false, 0, 0, false},
        {"unselected", "M 0,0", 0, false, 0, 0, false},
        {"one selected anchor", "M 0,0", kAttrSelected, false, 0, 1, false},
        {"more anchors", "M 0,0 L 5,5", kAttrSelected, false, 1, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        ArtHandle slot = nullptr;
        if (c.path) {
            ObjectId p = addPath(c.path, 0, c.attrs);
            slot = h(p);
            if (c.dispose)
                doc->dispose(p);
        }
        const ArtHandle given = slot;
        CCBool32 lone = 7;
        EXPECT_EQ(isLoneStartAnchor(&slot, &lone), c.result);
        EXPECT_EQ(lone, c.lone);
        EXPECT_EQ(slot, c.slotCleared ? nullptr : given);
    }
}

TEST_F(KernelFixture, ClosePathIfEndsMeet)
{
    struct Case {
        const char* name;
        const char* path;
        int minimum;
        bool snap;
        int closes;
        PathSegment merged; // the expected record 0 when it closes
    };
    const Case cases[] = {
        {"ends 0.1 apart on each axis",
         "M 0,0 C 2,0 10,8 10,10 C 10,12 1,0 0.1,0.1",
         3,
         false,
         1,
         {{0, 0}, {1, 0}, {2, 0}, 1}},
        {"ends just over 0.1 apart", "M 0,0 L 10,10 L 0.1000001,0", 3, false, 0, {}},
        {"below the minimum", "M 0,0 L 0.05,0", 3, false, 0, {}},
        {"a lone anchor is never closed away", "M 0,0", 1, false, 0, {}},
        {"two anchors meet at minimum 2", "M 0,0 C 3,0 -3,0 0.05,0", 2, false, 1, {{0, 0}, {-3, 0}, {3, 0}, 0}},
        {"opposed handles make a smooth anchor",
         "M 0,0 C 5,1 10,10 10,10 C 10,10 -5,-1 0,0",
         3,
         false,
         1,
         {{0, 0}, {-5, -1}, {5, 1}, 0}},
        {"handles off by more than 0.1 degree make a corner",
         "M 0,0 C 5,1 10,10 10,10 C 10,10 -5,-1.1 0,0",
         3,
         false,
         1,
         {{0, 0}, {-5, -1.1}, {5, 1}, 1}},
        {"retracted handles make a corner", "M 0,0 L 10,0 L 10,10 L 0,0", 3, false, 1, {{0, 0}, {0, 0}, {0, 0}, 1}},
        {"snap to the last-but-one anchor below 0.001",
         "M 0.0005,0.05 L 10,0 L 0,10 L 0,0",
         3,
         true,
         1,
         {{0, 0.05}, {0, 0}, {0.0005, 0.05}, 1}},
        {"no snap at 0.001 exactly",
         "M 0.001,0 L 10,0 L 0,10 L 0,0.05",
         3,
         true,
         1,
         {{0.001, 0}, {0, 0.05}, {0.001, 0}, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetDocument();
        ObjectId p = addPath(c.path);
        const auto before = segs(p);
        EXPECT_EQ(closePathIfEndsMeet(h(p), c.minimum, c.snap), c.closes);
        if (!c.closes) {
            EXPECT_FALSE(art(p).closed);
            ASSERT_EQ(segs(p).size(), before.size());
            continue;
        }
        EXPECT_TRUE(art(p).closed);
        ASSERT_EQ(segs(p).size(), before.size() - 1);
        const PathSegment& got = segs(p)[0];
        EXPECT_TRUE(same(got, c.merged)) << got.anchor.x << "," << got.anchor.y << " in " << got.in.x << "," << got.in.y
                                         << " out " << got.out.x << "," << got.out.y << " corner " << got.corner;
        for (std::size_t i = 1; i + 1 < before.size(); ++i)
            EXPECT_TRUE(same(segs(p)[i], before[i]));
    }

    resetDocument();
    ObjectId closed = addPath("M 0,0 L 10,0 L 0,0.05 Z");
    const auto before = segs(closed);
    EXPECT_EQ(closePathIfEndsMeet(h(closed), 2, true), 0);
    EXPECT_EQ(segs(closed).size(), before.size());
    EXPECT_TRUE(same(segs(closed)[0], before[0]));

    ObjectId nan = addPath("M 0,0 L 10,0 L 0,0");
    doc->edit(nan)->segments[2].anchor.x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(closePathIfEndsMeet(h(nan), 2, true), 0);
}
