// cBounds, Bounds<T, N> and cRect: growing, queries, transforms, alignment
// codes and docking.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "zozud/core/Str.h"
#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Rect.h"

using namespace zozud;

TEST(Bounds, EmptyGrowsWithPoints) {
    cBounds b;
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b, cBounds::Empty);
    EXPECT_EQ(cBounds::Empty.min, cVec3(FLT_MAX, FLT_MAX, FLT_MAX));
    EXPECT_EQ(cBounds::Empty.max, cVec3(-FLT_MAX, -FLT_MAX, -FLT_MAX));
    EXPECT_EQ(cBounds::One.min, cVec3(-1, -1, -1));
    EXPECT_FALSE(cBounds::Zero.IsEmpty());
    b.AddPoint(cVec3(1, 2, 3));
    EXPECT_EQ(b.min, b.max);
    b.AddPoint(cVec3(-1, 5, 0));
    EXPECT_EQ(b.min, cVec3(-1, 2, 0));
    EXPECT_EQ(b.max, cVec3(1, 5, 3));
    EXPECT_EQ(b.GetCenter(), cVec3(0, 3.5f, 1.5f));
    b.AddBounds(cBounds::Empty);
    EXPECT_EQ(b.max, cVec3(1, 5, 3));
    b.AddBounds(cBounds(cVec3(0, 0, 0), cVec3(9, 0, 0)));
    EXPECT_EQ(b.max.x, 9);
    b.Expand(1);
    EXPECT_EQ(b.min, cVec3(-2, -1, -1));
    cVec2 flat[3] = {cVec2(1, -1), cVec2(-4, 2), cVec2(0, 0)};
    b.FromPoints(flat, 3);
    EXPECT_EQ(b, cBounds(cVec3(-4, -1, 0), cVec3(1, 2, 0)));
    b.FromPoints(static_cast<const cVec3*>(nullptr), 5);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_STREQ(cBounds::One.ToString(0), "-1 -1 -1 1 1 1");
}

TEST(Bounds, Queries) {
    cBounds b(cVec3(0, 0, 0), cVec3(2, 2, 2));
    EXPECT_TRUE(b.ContainsPoint(cVec3(2, 0, 1)));
    EXPECT_FALSE(b.ContainsPoint(cVec3(2.01f, 0, 1)));
    EXPECT_EQ(b.DistanceToPointSq(cVec3(1, 1, 1)), 0);
    EXPECT_EQ(b.DistanceToPointSq(cVec3(5, 1, -4)), 9 + 16);
    EXPECT_TRUE(b.Intersects(cBounds(cVec3(2, 2, 2), cVec3(3, 3, 3))));
    EXPECT_FALSE(b.Intersects(cBounds(cVec3(2.1f, 0, 0), cVec3(3, 3, 3))));
    cVec3 c[8];
    b.ToPoints(c);
    EXPECT_EQ(c[0], cVec3(0, 0, 0));
    EXPECT_EQ(c[1], cVec3(2, 0, 0));
    EXPECT_EQ(c[6], cVec3(0, 2, 2));
    EXPECT_EQ(c[7], cVec3(2, 2, 2));
    float t = -1;
    ASSERT_TRUE(b.RayIntersection(cVec3(-3, 1, 1), cVec3(1, 0, 0), &t));
    EXPECT_EQ(t, 3);
    ASSERT_TRUE(b.RayIntersection(cVec3(-3, -2, 1), cVec3(2, 2, 0), &t));  // through the edge
    EXPECT_EQ(t, 1.5f);
    ASSERT_TRUE(b.RayIntersection(cVec3(1, 1, 1), cVec3(0, -1, 0), &t));  // from inside
    EXPECT_EQ(t, 0);
    EXPECT_FALSE(b.RayIntersection(cVec3(-3, 1, 1), cVec3(-1, 0, 0), &t));  // pointing away
    EXPECT_FALSE(b.RayIntersection(cVec3(-3, 3, 1), cVec3(1, 0, 0), &t));   // parallel, outside the slab
    EXPECT_TRUE(b.RayIntersection(cVec3(-3, 2, 2), cVec3(1, 0, 0), &t));    // along a face's edge
    EXPECT_FALSE(b.RayIntersection(cVec3(-3, 1, 1), cVec3(0, 0, 0), &t));
    EXPECT_FALSE(cBounds::Empty.RayIntersection(cVec3(0, 0, 0), cVec3(1, 0, 0), &t));
}

TEST(Bounds, TransformAndLerp) {
    cBounds b(cVec3(-1, -1, -1), cVec3(1, 1, 1));
    cBounds r = cBounds::Transform(b, cMat4::RotationZ(45) * cMat4::Translation(10, 0, 0));
    EXPECT_NEAR(r.max.x, 10 + std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(r.min.y, -std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(r.max.z, 1, 1e-6f);
    b.Transform(cMat4::Scaling(2, 3, 4));
    EXPECT_EQ(b, cBounds(cVec3(-2, -3, -4), cVec3(2, 3, 4)));
    EXPECT_TRUE(cBounds::Transform(cBounds::Empty, cMat4::RotationX(30)).IsEmpty());
    cBounds l = cBounds::Lerp(cBounds::Zero, b, 0.5f);
    EXPECT_EQ(l, cBounds(cVec3(-1, -1.5f, -2), cVec3(1, 1.5f, 2)));
}

TEST(Bounds, TemplateBoxes) {
    Bounds<int, 2> bi;
    EXPECT_TRUE(bi.IsEmpty());
    bi.AddPoint(cVec<int, 2>(1, 5));
    bi.AddPoint(cVec<int, 2>(-3, 2));
    EXPECT_FALSE(bi.IsEmpty());
    EXPECT_TRUE(bi.ContainsPoint(cVec<int, 2>(0, 3)));
    EXPECT_FALSE(bi.ContainsPoint(cVec<int, 2>(2, 3)));
    EXPECT_TRUE(bi.ContainsLine(cVec<int, 2>(-3, 2), cVec<int, 2>(1, 5)));
    EXPECT_FALSE(bi.ContainsLine(cVec<int, 2>(-3, 2), cVec<int, 2>(1, 6)));
    Bounds<float, 3> bf(cVec<float, 3>(0, 0, 0), cVec<float, 3>(1, 1, 1));
    EXPECT_TRUE(bf.ContainsPoint(cVec<float, 3>(1, 0.5f, 0)));
    EXPECT_EQ(bf.GetSize()[2], 1.0f);
    Bounds<float, 3ul> same = bf;
    EXPECT_FALSE(same.IsEmpty());
}

// ---- cRect ----

TEST(Rect, WidthHeightByAlignment) {
    cRect r(0, 0, 4, 4);
    r.SetWidth(1, 10);
    EXPECT_EQ(r, cRect(-3, 0, 7, 4));
    r = cRect(0, 0, 4, 4);
    r.SetHeight(0, 1);  // row 0 keeps the top (y1)
    EXPECT_EQ(r, cRect(0, 3, 4, 4));
    r = cRect(0, 0, 4, 4);
    r.SetWidth(0, 2);
    EXPECT_EQ(r.x1, 2);
    r.SetWidth(10, 1);
    EXPECT_EQ(r, cRect(1, 0, 2, 4));
    r.SetHeight(8, 2);  // row 2 keeps the bottom (y0)
    EXPECT_EQ(r, cRect(1, 0, 2, 2));
    r.SetHeight(5, 4);
    EXPECT_EQ(r, cRect(1, -1, 2, 3));
    cRect keep = r;
    r.SetWidth(3, 50);
    r.SetWidth(7, 50);
    r.SetHeight(11, 50);
    r.SetHeight(-1, 50);
    EXPECT_EQ(r, keep);
}

TEST(Rect, PointsAndAlignment) {
    cRect r(10, 20, 30, 60);
    EXPECT_EQ(r.GetPoint(0), cVec2(10, 60));
    EXPECT_EQ(r.GetPoint(2), cVec2(30, 60));
    EXPECT_EQ(r.GetPoint(5), cVec2(20, 40));
    EXPECT_EQ(r.GetPoint(8), cVec2(10, 20));
    EXPECT_EQ(r.GetPoint(10), cVec2(30, 20));
    EXPECT_EQ(r.GetPoint(1), cVec2(20, 60));
    EXPECT_EQ(r.GetPoint(6), cVec2(30, 40));
    EXPECT_EQ(r.GetPoint(3), r.GetCenter());
    r.AlignPoint(10, 0, 0);  // bottom-right corner to the origin
    EXPECT_EQ(r, cRect(-20, 0, 0, 40));
    cRect other(100, 100, 200, 150);
    r.AlignPoint(5, other);
    EXPECT_EQ(r.GetCenter(), other.GetCenter());
    EXPECT_EQ(r.GetWidth(), 20);
    r.AlignPoint(7, 0, 0);
    EXPECT_EQ(r.GetCenter(), other.GetCenter());
    // AlignInside moves without resizing; too large ends on the low edges.
    cRect w(90, -10, 110, 10);
    w.AlignInside(cRect(0, 0, 100, 100));
    EXPECT_EQ(w, cRect(80, 0, 100, 20));
    cRect big(0, 0, 300, 300);
    big.AlignInside(cRect(10, 10, 100, 100));
    EXPECT_EQ(big.x0, 10);
    EXPECT_EQ(big.y0, 10);
}

TEST(Rect, DockingZonesAndRegions) {
    cRect r(0, 0, 100, 50);
    EXPECT_EQ(r.GetDockingAlign(cVec2(5, 25), 10), 4);     // left band
    EXPECT_EQ(r.GetDockingAlign(cVec2(95, 25), 10), 6);    // right band
    EXPECT_EQ(r.GetDockingAlign(cVec2(50, 48), 10), 1);    // top band (y up)
    EXPECT_EQ(r.GetDockingAlign(cVec2(50, 2), 10), 9);     // bottom band
    EXPECT_EQ(r.GetDockingAlign(cVec2(3, 47), 10), 0);     // top-left corner
    EXPECT_EQ(r.GetDockingAlign(cVec2(97, 1), 10), 10);    // bottom-right corner
    EXPECT_EQ(r.GetDockingAlign(cVec2(50, 25), 10), 5);
    EXPECT_EQ(r.GetDockingAlign(cVec2(-1, 25), 10), -1);
    EXPECT_EQ(cRect::Empty.GetDockingAlign(cVec2(0, 0), 10), -1);

    EXPECT_EQ(r.GetDockingAlign(cRect(-20, 10, 0, 40), 0.5f), 4);    // outside, against the left edge
    EXPECT_EQ(r.GetDockingAlign(cRect(0, 0, 20, 50), 0.5f), 4);      // inside, full height on the left
    EXPECT_EQ(r.GetDockingAlign(cRect(0, 40, 100, 50), 0.5f), 1);    // a band along the top
    EXPECT_EQ(r.GetDockingAlign(cRect(80, 0, 100, 10), 0.5f), 10);   // bottom-right corner
    EXPECT_EQ(r.GetDockingAlign(cRect(100.3f, 60, 120, 70), 0.5f), -1);  // apart
    EXPECT_EQ(r.GetDockingAlign(cRect(40, 20, 60, 30), 0.5f), 5);

    EXPECT_EQ(r.GetDockingRegion(4, 20), cRect(0, 0, 20, 50));
    EXPECT_EQ(r.GetDockingRegion(1, 10), cRect(0, 40, 100, 50));
    EXPECT_EQ(r.GetDockingRegion(10, 10), cRect(90, 0, 100, 10));
    EXPECT_EQ(r.GetDockingRegion(5, 10), r);
    EXPECT_EQ(r.GetDockingRegion(9, 500), r);  // clamped to the rectangle
    EXPECT_EQ(r.GetDockingRegion(3, 10), cRect::Empty);
    // A band's own zone code finds it again.
    for (int code : {0, 1, 2, 4, 6, 8, 9, 10}) EXPECT_EQ(r.GetDockingAlign(r.GetDockingRegion(code, 10), 0.01f), code);
}

TEST(Rect, FittingTransformsAndSets) {
    cRect in = cRect::Inscribe(cRect(0, 0, 200, 100), cRect(0, 0, 4, 3));
    EXPECT_FLOAT_EQ(in.GetHeight(), 100);
    EXPECT_FLOAT_EQ(in.GetWidth(), 400.0f / 3);
    EXPECT_FLOAT_EQ(in.GetCenter().x, 100);
    EXPECT_EQ(cRect::Inscribe(cRect(0, 0, 10, 10), cRect(0, 0, 0, 5)), cRect(5, 5, 5, 5));
    cRect t = cRect::Transform(cRect(-1, -1, 1, 1), cMat4::RotationZ(45) * cMat4::Translation(5, 0, 0));
    EXPECT_NEAR(t.x1, 5 + std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(t.y0, -std::sqrt(2.0f), 1e-5f);
    cRect s(0, 0, 1, 2);
    s.Transform(cMat4::Scaling(2, 2, 1));
    EXPECT_EQ(s, cRect(0, 0, 2, 4));
    EXPECT_TRUE(cRect::Transform(cRect::Empty, cMat4::Identity).IsEmpty());
    EXPECT_EQ(cRect::Intersection(cRect(0, 0, 4, 4), cRect(2, 1, 9, 3)), cRect(2, 1, 4, 3));
    EXPECT_TRUE(cRect::Intersection(cRect(0, 0, 1, 1), cRect(2, 2, 3, 3)).IsEmpty());
    cRect u = cRect::Empty;
    EXPECT_TRUE(u.IsEmpty());
    EXPECT_FALSE(u.IsValid());
    u.AddPoint(cVec2(3, 4));
    EXPECT_EQ(u, cRect(3, 4, 3, 4));
    u.AddRect(cRect(-1, 0, 0, 1));
    u.AddRect(cRect::Empty);
    EXPECT_EQ(u, cRect(-1, 0, 3, 4));
    EXPECT_TRUE(u.Contains(cVec2(3, 0)));
    EXPECT_FALSE(u.Contains(cVec2(3.1f, 0)));
    EXPECT_TRUE(u.Contains(cRect(0, 0, 1, 1)));
    EXPECT_STREQ(cRect::Unit.ToString(1), "0.0 0.0 1.0 1.0");
    EXPECT_EQ(cRect::Empty.x0, FLT_MAX);
    EXPECT_EQ(cRect::Empty.y1, -FLT_MAX);
}
