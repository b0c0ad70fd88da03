// cLine<T, N>: arc lengths, points along the line, nearest projections and
// the clockwise ordering used for sorting.
#include <gtest/gtest.h>

#include "zozud/math/Line.h"

using namespace zozud;

typedef cVec<float, 2> V2;
typedef cVec<float, 3> V3;
typedef cVec<int, 2> I2;
typedef cVec<int, 3> I3;
typedef cLine<float, 2> L2f;
typedef cLine<int, 2> L2i;
typedef cLine<int, 3> L3i;

TEST(Line, DistancesAndPoints) {
    cLine<float, 2> line;
    cList<float> d;
    EXPECT_EQ(line.Distances(&d), 0);
    EXPECT_EQ(d.Count(), 0);
    EXPECT_TRUE(line.PointAtDistance(1).IsUndefined());
    line.Points.Add(V2(0, 0));
    line.Points.Add(V2(3, 4));
    line.Points.Add(V2(3, 10));
    EXPECT_EQ(line.Distances(&d), 11);
    ASSERT_EQ(d.Count(), 3);
    EXPECT_EQ(d[0], 0);
    EXPECT_EQ(d[1], 5);
    EXPECT_EQ(d[2], 11);
    EXPECT_EQ(line.PointAtDistance(2.5f), V2(1.5f, 2));
    EXPECT_EQ(line.PointAtDistance(8), V2(3, 7));
    EXPECT_EQ(line.PointAtDistance(-1), V2(0, 0));
    EXPECT_EQ(line.PointAtDistance(99), V2(3, 10));
    EXPECT_EQ(L2f::Point(V2(0, 0), V2(2, 4), 0.25f), V2(0.5f, 1));
    EXPECT_EQ(L2i::Point(I2(0, 0), I2(3, -3), 0.5f), I2(2, -1));  // halves round up

    cLine<int, 3> il;
    il.Points.Add(I3(0, 0, 0));
    il.Points.Add(I3(0, 0, 2));
    EXPECT_EQ(il.Distances(nullptr), 2);
    EXPECT_EQ(il.PointAtDistance(1.4f), I3(0, 0, 1));
    cLine<float, 1> one;
    one.Points.Add(cVec<float, 1>(5.0f));
    one.Points.Add(cVec<float, 1>(-1.0f));
    EXPECT_EQ(one.Distances(nullptr), 6);
}

TEST(Line, NearestProjection) {
    cLine<float, 3> line;
    float t = -1, dist = -1;
    int index = -1;
    EXPECT_FALSE(line.NearestProjection(V3(0, 0, 0), &t, &dist, &index));
    line.Points.Add(V3(0, 0, 0));
    ASSERT_TRUE(line.NearestProjection(V3(3, 4, 0), &t, &dist, &index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(t, 0);
    EXPECT_EQ(dist, 5);
    line.Points.Add(V3(10, 0, 0));
    line.Points.Add(V3(10, 10, 0));
    ASSERT_TRUE(line.NearestProjection(V3(9, 5, 0), &t, &dist, &index));
    EXPECT_EQ(index, 1);
    EXPECT_FLOAT_EQ(t, 0.5f);
    EXPECT_FLOAT_EQ(dist, 1);
    ASSERT_TRUE(line.NearestProjection(V3(4, -2, 3), &t, &dist, &index));
    EXPECT_EQ(index, 0);
    EXPECT_FLOAT_EQ(t, 0.4f);
    EXPECT_FLOAT_EQ(dist, std::sqrt(13.0f));
    ASSERT_TRUE(line.NearestProjection(V3(12, 12, 0), nullptr, &dist, nullptr));
    EXPECT_FLOAT_EQ(dist, std::sqrt(8.0f));
    cLine<int, 2> il;
    il.Points.Add(I2(0, 0));
    il.Points.Add(I2(0, 0));  // a zero-length piece
    il.Points.Add(I2(4, 0));
    ASSERT_TRUE(il.NearestProjection(I2(1, 3), &t, &dist, &index));
    EXPECT_EQ(index, 1);
    EXPECT_FLOAT_EQ(t, 0.25f);
    EXPECT_FLOAT_EQ(dist, 3);
}

TEST(Line, ClockwiseSort) {
    // A clock face: twelve, three, six, nine o'clock and the ones between.
    cList<V2> pts;
    for (V2 p : {V2(-1, 0), V2(0, -1), V2(1, 1), V2(0, 1), V2(-1, 1), V2(1, 0), V2(1, -1), V2(-1, -1)}) pts.Add(p);
    pts.Sort(cLine<float, 2>::CompareClockwise(V2(0, 0)));
    const V2 want[8] = {V2(0, 1), V2(1, 1), V2(1, 0), V2(1, -1), V2(0, -1), V2(-1, -1), V2(-1, 0), V2(-1, 1)};
    for (int i = 0; i < 8; i++) EXPECT_EQ(pts[i], want[i]) << i;

    // Around another centre, in 3D seen from +Z (the clock's up is +Y), with
    // integer points; z does not matter, and of two points in the same
    // direction the nearer comes first.
    cList<I3> ip;
    for (I3 p : {I3(10, 8, 0), I3(12, 10, 5), I3(10, 14, 0), I3(10, 12, 0), I3(8, 10, -3)}) ip.Add(p);
    ip.Sort(L3i::CompareClockwise(V3(10, 10, 0), cVec3(0, 0, 1)));
    const I3 order[5] = {I3(10, 12, 0), I3(10, 14, 0), I3(12, 10, 5), I3(10, 8, 0), I3(8, 10, -3)};
    for (int i = 0; i < 5; i++) EXPECT_EQ(ip[i], order[i]) << i;
    // Seen from -Z the turn reverses, and twelve o'clock is -Y.
    ip.Sort(L3i::CompareClockwise(V3(10, 10, 0), cVec3(0, 0, -1)));
    const I3 back[5] = {I3(10, 8, 0), I3(12, 10, 5), I3(10, 12, 0), I3(10, 14, 0), I3(8, 10, -3)};
    for (int i = 0; i < 5; i++) EXPECT_EQ(ip[i], back[i]) << i;
}
