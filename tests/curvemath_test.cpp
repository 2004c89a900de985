// Curve and arc mathematics: the boundaries of each test, checked in tables.
#include "KernelFixture.h"
#include "geometry/CurveMath.h"
#include "geometry/PointMath.h"
#include "geometry/Tolerances.h"

#include "geom/BezierMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace curvicraft;

namespace {

constexpr double kDeg = kPi / 180;

TEST(CurveMath, IntersectLines)
{
    struct Case {
        const char* what;
        RealPoint a1, a2, b1, b2;
        bool hit;
        RealPoint expected;
    };
    const Case cases[] = {
        {"x axis and a vertical line", {0, 0}, {100, 0}, {50, -1}, {50, 1}, true, {50, 0}},
        {"parallel within the slope tolerance", {0, 0}, {100, 0}, {0, 1}, {100, 1.00001}, false, {}},
        {"A vertical, B horizontal", {20, -5}, {20, 5}, {0, 7}, {10, 7}, true, {20, 7}},
        {"both vertical", {20, -5}, {20, 5}, {30, 0}, {30, 1}, false, {}},
        {"two sloped lines", {0, 0}, {10, 10}, {0, 10}, {10, 0}, true, {5, 5}},
        {"B vertical, A flat takes a2.y", {0, 3}, {10, 3.0005}, {4, 0}, {4, 1}, true, {4, 3.0005}},
        {"B vertical, A sloped", {0, 0}, {10, 20}, {4, 0}, {4, 1}, true, {4, 8}},
        // Steep lines: slopes 1000 and 1000.0005 differ by less than 0.001, so they count as parallel.
        {"near-parallel steep slopes", {0, 0}, {1, 1000}, {5, 0}, {7, 2000.001}, false, {}},
    };
    for (const Case& c : cases) {
        RealPoint out{-999, -999};
        EXPECT_EQ(intersectLines(c.a1, c.a2, c.b1, c.b2, out), c.hit) << c.what;
        if (c.hit) {
            EXPECT_NEAR(out.x, c.expected.x, 1e-9) << c.what;
            EXPECT_NEAR(out.y, c.expected.y, 1e-9) << c.what;
        }
    }
    // Both vertical: x is written, y is not.
    RealPoint out{-1, -1};
    intersectLines({20, -5}, {20, 5}, {30, 0}, {30, 1}, out);
    EXPECT_EQ(out.x, 20);
    EXPECT_EQ(out.y, -1);
}

TEST(CurveMath, AngleTests)
{
    EXPECT_TRUE(anglesOpposed(0, 3 * kPi / 4));
    EXPECT_FALSE(anglesOpposed(0, kPi / 2)) << "not strictly greater";
    EXPECT_FALSE(anglesOpposed(0.1, kTwoPi)) << "2 pi - 0.1 folds to 0.1";
    EXPECT_TRUE(anglesOpposed(-kPi / 2 - 0.01, 0));
    EXPECT_TRUE(anglesOpposed(0, 5 * kPi)) << "reduced by whole turns";

    EXPECT_TRUE(anglesCollinear(1.0, 1.0005, 0.001));
    EXPECT_TRUE(anglesCollinear(0.2, 0.2 + kPi - 0.0005, 0.001)) << "opposite directions";
    EXPECT_FALSE(anglesCollinear(1.0, 1.0011, 0.001));
    EXPECT_FALSE(anglesCollinear(0.5, 0.5 + kPi + 0.0011, 0.001));
    EXPECT_FALSE(anglesCollinear(kPi - 0.0001, -kPi + 0.0001, 0.001)) << "the raw difference is near 2 pi";
}

TEST(CurveMath, UpdateCornerFlag)
{
    struct Case {
        const char* what;
        RealPoint in, out;
        int corner;
    };
    const Case cases[] = {
        {"handles on one line, opposite sides", {-10, 0}, {5, 0}, 0},
        {"0.4 degree off is still smooth", {-10, 0}, {5 * std::cos(0.4 * kDeg), 5 * std::sin(0.4 * kDeg)}, 0},
        {"0.6 degree off is a corner", {-10, 0}, {5 * std::cos(0.6 * kDeg), 5 * std::sin(0.6 * kDeg)}, 1},
        {"both on one side", {-10, 0}, {-5, 0}, 1},
        {"a right angle", {0, 10}, {10, 0}, 1},
        {"smooth across the 2 pi seam", {-10, 0.0001}, {10, -0.0001}, 0},
        {"both retracted", {0, 0}, {0, 0}, 0},
    };
    for (const Case& c : cases) {
        PathSegment s{{0, 0}, c.in, c.out, 7};
        updateCornerFlag(s);
        EXPECT_EQ(s.corner, c.corner) << c.what;
    }
}

TEST(CurveMath, ArcHandleLength)
{
    EXPECT_DOUBLE_EQ(arcHandleLength(1, kHalfPi), 1.1045696 * 0.5000003621320015);
    EXPECT_EQ(arcHandleLength(1, 0), 0);
    EXPECT_DOUBLE_EQ(arcHandleLength(10, 7.5 * kDeg),
                     10 * 1.1045696 * (0.026337860466194254 + 0.052694551796464435) / 2);
    EXPECT_DOUBLE_EQ(arcHandleLength(2, kPi), 2 * 1.1045696 * 1.207118501179102);
    // The quarter circle of the table is the classic 0.5523 handle.
    EXPECT_NEAR(arcHandleLength(1, kHalfPi), kQuarterArcHandle, 1e-6);
}

TEST(CurveMath, ArcPieceCount)
{
    struct Case {
        double degrees;
        int pieces;
    };
    const Case cases[] = {{45, 1}, {90, 1}, {90.001, 2}, {180, 2}, {270, 3}, {360, 4}, {0, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(arcPieceCount(c.degrees * kDeg), c.pieces) << c.degrees << " degrees";
    EXPECT_EQ(arcPieceCount(kPi), 2);
    EXPECT_EQ(arcPieceCount(kTwoPi), 4);
}

class CurveMathOnHost : public kerneltest::KernelFixture {};

TEST_F(CurveMathOnHost, SplitBezier)
{
    BezierCurve first{}, second{};
    const BezierCurve straight{{0, 0}, {0, 0}, {10, 0}, {10, 0}};
    ASSERT_TRUE(splitBezier(straight, 0.9, 4, first, second));
    EXPECT_EQ(first.p0.x, 0);
    EXPECT_EQ(first.p1.x, 0);
    EXPECT_DOUBLE_EQ(first.p2.x, 4);
    EXPECT_DOUBLE_EQ(first.p3.x, 4);
    EXPECT_DOUBLE_EQ(second.p0.x, 4);
    EXPECT_DOUBLE_EQ(second.p1.x, 4);
    EXPECT_EQ(second.p3.x, 10);

    BezierCurve untouched{{1, 1}, {1, 1}, {1, 1}, {1, 1}};
    BezierCurve other = untouched;
    EXPECT_FALSE(splitBezier(straight, 0.5, 10, untouched, other)) << "not longer than L";
    EXPECT_EQ(untouched.p2.x, 1);

    // A curved one is divided at t, whatever L is: the halves meet on the curve.
    const BezierCurve curved{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    ASSERT_TRUE(splitBezier(curved, 0.5, 1, first, second));
    EXPECT_DOUBLE_EQ(first.p3.x, 5);
    EXPECT_DOUBLE_EQ(first.p3.y, 7.5);
    EXPECT_EQ(first.p3.x, second.p0.x);
    EXPECT_EQ(first.p3.y, second.p0.y);
    EXPECT_DOUBLE_EQ(first.p1.y, 5);
    EXPECT_DOUBLE_EQ(second.p2.y, 5);
}

TEST_F(CurveMathOnHost, BezierLength)
{
    // Straight: the chord.
    EXPECT_DOUBLE_EQ(bezierLength({{0, 0}, {0, 0}, {3, 4}, {3, 4}}), 5);
    // One retracted handle goes to the host's measure. The control points lie on one line but run past the
    // end and back, so the true length (the host's) differs from the chord.
    const BezierCurve back{{0, 0}, {0, 0}, {20, 0}, {10, 0}};
    const double measured = bezierLength(back);
    EXPECT_GT(measured, 10.5);
    EXPECT_NEAR(measured, minihost::bezierArcLength(back, 1.0), 1e-12);
    // A quarter circle of radius 100 with the classic handle: within 0.03 of 50 pi.
    const double k = 100 * kQuarterArcHandle;
    EXPECT_NEAR(bezierLength({{100, 0}, {100, k}, {k, 100}, {0, 100}}), 50 * kPi, 0.03);
}

} // namespace
