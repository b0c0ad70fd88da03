// cBounds, Bounds<T, N> and cRect.
#include "math/MathCheck.h"
#include "zozud/math/Rect.h"

using namespace mathtest;

TEST(Bounds, EmptyGrowsWithPoints) {
    cBounds b;
    b.AddPoint(cVec3(1, 2, 3));
    b.AddPoint(cVec3(-1, 5, 0));
    b.AddBounds(cBounds::Empty);
    EXPECT_EQ(b, cBounds(cVec3(-1, 2, 0), cVec3(1, 5, 3)));
    cVec2 flat[3] = {cVec2(1, -1), cVec2(-4, 2), cVec2(0, 0)};
    b.FromPoints(flat, 3);
    EXPECT_EQ(b, cBounds(cVec3(-4, -1, 0), cVec3(1, 2, 0)));
    b.FromPoints(static_cast<const cVec3*>(nullptr), 5);
    EXPECT_TRUE(b.IsEmpty());

    typedef cVec<int, 2> I2;
    Bounds<int, 2> bi;
    EXPECT_TRUE(bi.IsEmpty());
    bi.AddPoint(I2(1, 5));
    bi.AddPoint(I2(-3, 2));
    EXPECT_TRUE(bi.ContainsPoint(I2(0, 3)) && !bi.ContainsPoint(I2(2, 3)));
    EXPECT_TRUE(bi.ContainsLine(I2(-3, 2), I2(1, 5)) && !bi.ContainsLine(I2(-3, 2), I2(1, 6)));
}

TEST(Bounds, QueriesAndRays) {
    cBounds b(cVec3(0, 0, 0), cVec3(2, 2, 2));
    EXPECT_TRUE(b.ContainsPoint(cVec3(2, 0, 1)) && !b.ContainsPoint(cVec3(2.01f, 0, 1)));
    EXPECT_TRUE(b.DistanceToPointSq(cVec3(1, 1, 1)) == 0 && b.DistanceToPointSq(cVec3(5, 1, -4)) == 9 + 16);
    cVec3 c[8];
    b.ToPoints(c);
    EXPECT_TRUE(c[0] == cVec3(0, 0, 0) && c[1] == cVec3(2, 0, 0) && c[6] == cVec3(0, 2, 2) && c[7] == cVec3(2, 2, 2));
    auto ray = [&](const cBounds& box, cVec3 origin, cVec3 dir, bool hit, float want) {
        float t = -1;
        EXPECT_TRUE(box.RayIntersection(origin, dir, &t) == hit && (!hit || t == want)) << origin.x << " " << origin.y << ": " << t;
    };
    ray(b, cVec3(-3, 1, 1), cVec3(1, 0, 0), true, 3);
    ray(b, cVec3(-3, -2, 1), cVec3(2, 2, 0), true, 1.5f);  // through an edge
    ray(b, cVec3(1, 1, 1), cVec3(0, -1, 0), true, 0);      // from inside
    ray(b, cVec3(-3, 2, 2), cVec3(1, 0, 0), true, 3);      // along a face's edge
    ray(b, cVec3(-3, 1, 1), cVec3(-1, 0, 0), false, 0);    // pointing away
    ray(b, cVec3(-3, 3, 1), cVec3(1, 0, 0), false, 0);     // parallel, outside the slab
    ray(b, cVec3(-3, 1, 1), cVec3(0, 0, 0), false, 0);
    ray(cBounds::Empty, cVec3(0, 0, 0), cVec3(1, 0, 0), false, 0);
}

TEST(Bounds, TransformAndLerp) {
    cBounds b(cVec3(-1, -1, -1), cVec3(1, 1, 1));
    cBounds r = cBounds::Transform(b, cMat4::RotationZ(45) * cMat4::Translation(10, 0, 0));
    const float h = std::sqrt(2.0f);
    EXPECT_TRUE(Near(r, cBounds(cVec3(10 - h, -h, -1), cVec3(10 + h, h, 1)), 1e-5f, false));
    b.Transform(cMat4::Scaling(2, 3, 4));
    EXPECT_EQ(b, cBounds(cVec3(-2, -3, -4), cVec3(2, 3, 4)));
    EXPECT_TRUE(cBounds::Transform(cBounds::Empty, cMat4::RotationX(30)).IsEmpty());
    EXPECT_EQ(cBounds::Lerp(cBounds::Zero, b, 0.5f), cBounds(cVec3(-1, -1.5f, -2), cVec3(1, 1.5f, 2)));
}

TEST(Rect, WidthHeightAndPointsByAlignment) {
    cRect r(0, 0, 4, 4);
    r.SetWidth(1, 10);
    EXPECT_EQ(r, cRect(-3, 0, 7, 4));
    r = cRect(0, 0, 4, 4);
    r.SetHeight(0, 1);  // row 0 keeps the top (y1)
    EXPECT_EQ(r, cRect(0, 3, 4, 4));
    r.SetWidth(10, 1);
    r.SetHeight(8, 2);  // row 2 keeps the bottom (y0)
    EXPECT_EQ(r, cRect(3, 3, 4, 5));
    r.SetHeight(5, 4);
    EXPECT_EQ(r, cRect(3, 2, 4, 6));
    for (int code : {3, 7, 11, -1}) r.SetWidth(code, 50), r.SetHeight(code, 50);  // not positions
    EXPECT_EQ(r, cRect(3, 2, 4, 6));

    r = cRect(10, 20, 30, 60);
    const cVec2 points[11] = {cVec2(10, 60), cVec2(20, 60), cVec2(30, 60), r.GetCenter(), cVec2(10, 40), cVec2(20, 40),
                              cVec2(30, 40), r.GetCenter(), cVec2(10, 20), cVec2(20, 20), cVec2(30, 20)};
    for (int code = 0; code < 11; code++) EXPECT_EQ(r.GetPoint(code), points[code]) << code;
    r.AlignPoint(10, 0, 0);  // bottom-right corner to the origin
    EXPECT_EQ(r, cRect(-20, 0, 0, 40));
    cRect other(100, 100, 200, 150);
    r.AlignPoint(5, other);
    EXPECT_EQ(r, cRect(140, 105, 160, 145));
    // AlignInside moves without resizing; too large ends on the low edges.
    cRect w(90, -10, 110, 10), big(0, 0, 300, 300);
    w.AlignInside(cRect(0, 0, 100, 100));
    EXPECT_EQ(w, cRect(80, 0, 100, 20));
    big.AlignInside(cRect(10, 10, 100, 100));
    EXPECT_TRUE(big.x0 == 10 && big.y0 == 10);
}

TEST(Rect, DockingZonesAndRegions) {
    cRect r(0, 0, 100, 50);
    EXPECT_EQ(r.GetDockingAlign(cVec2(97, 1), 10), 10);  // the bottom-right corner (y up)
    EXPECT_TRUE(r.GetDockingAlign(cVec2(-1, 25), 10) == -1 && cRect::Empty.GetDockingAlign(cVec2(0, 0), 10) == -1);
    EXPECT_EQ(r.GetDockingAlign(cRect(-20, 10, 0, 40), 0.5f), 4);        // outside, against the left edge
    EXPECT_EQ(r.GetDockingAlign(cRect(100.3f, 60, 120, 70), 0.5f), -1);  // apart
    EXPECT_EQ(r.GetDockingRegion(10, 10), cRect(90, 0, 100, 10));
    EXPECT_EQ(r.GetDockingRegion(9, 500), r);  // clamped to the rectangle
    EXPECT_EQ(r.GetDockingRegion(3, 10), cRect::Empty);
    // Each band's region, and a point inside it, find the band's code again.
    for (int code : {0, 1, 2, 4, 5, 6, 8, 9, 10}) {
        EXPECT_EQ(r.GetDockingAlign(r.GetDockingRegion(code, 10), 0.01f), code);
        EXPECT_EQ(r.GetDockingAlign(r.GetDockingRegion(code, 10).GetCenter(), 10), code);
    }
}

TEST(Rect, FittingTransformsAndSets) {
    cRect in = cRect::Inscribe(cRect(0, 0, 200, 100), cRect(0, 0, 4, 3));
    EXPECT_TRUE(in.GetHeight() == 100 && std::fabs(in.GetWidth() - 400.0f / 3) < 1e-4f && in.GetCenter().x == 100);
    EXPECT_EQ(cRect::Inscribe(cRect(0, 0, 10, 10), cRect(0, 0, 0, 5)), cRect(5, 5, 5, 5));
    cRect t = cRect::Transform(cRect(-1, -1, 1, 1), cMat4::RotationZ(45) * cMat4::Translation(5, 0, 0));
    EXPECT_TRUE(std::fabs(t.x1 - 5 - std::sqrt(2.0f)) < 1e-5f && std::fabs(t.y0 + std::sqrt(2.0f)) < 1e-5f);
    EXPECT_TRUE(cRect::Transform(cRect::Empty, cMat4::Identity).IsEmpty());
    EXPECT_EQ(cRect::Intersection(cRect(0, 0, 4, 4), cRect(2, 1, 9, 3)), cRect(2, 1, 4, 3));
    EXPECT_TRUE(cRect::Intersection(cRect(0, 0, 1, 1), cRect(2, 2, 3, 3)).IsEmpty());
    cRect u = cRect::Empty;
    EXPECT_FALSE(u.IsValid());
    u.AddPoint(cVec2(3, 4));
    u.AddRect(cRect(-1, 0, 0, 1));
    u.AddRect(cRect::Empty);
    EXPECT_EQ(u, cRect(-1, 0, 3, 4));
    EXPECT_TRUE(u.Contains(cVec2(3, 0)) && !u.Contains(cVec2(3.1f, 0)));
}
