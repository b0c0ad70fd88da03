#include <gtest/gtest.h>

#include "zozud/render/Vertex.h"

using namespace zozud;

TEST(Vertex, AttributeValidityFollowsTheUsage) {
    using U = cVertexUsage;
    const cVertexType::Enum F = cVertexType::Float, B = cVertexType::Byte;
    struct Case { U::Enum usage; cVertexType::Enum type; int count; bool valid; } cases[] = {
        {U::Generic, F, 1, true},   {U::Generic, F, 4, true},   {U::Generic, F, 5, false},
        {U::Generic, B, 4, true},   {U::Generic, B, 2, false},  {U::Position, F, 3, true},
        {U::Position, F, 4, true},  {U::Position, F, 2, false}, {U::Position, B, 4, false},
        {U::Normal, F, 3, true},    {U::Normal, F, 4, false},   {U::Tangent, F, 3, true},
        {U::BiTangent, F, 2, false},{U::TexCoord, F, 2, true},  {U::TexCoord, F, 1, false},
        {U::TexCoord, F, 4, true},  {U::Indices, F, 4, true},   {U::Indices, B, 4, false},
        {U::Weights, F, 3, false},
    };
    for (const Case& c : cases) {
        cVertex::Attrib a;
        a.Usage = c.usage;
        a.Type = c.type;
        a.Count = c.count;
        EXPECT_EQ(c.valid, a.IsValid()) << "usage " << c.usage << " type " << c.type << " x " << c.count;
    }
    EXPECT_EQ(0, cVertexType::SizeOf(2));
    EXPECT_EQ(0, cVertexType::SizeOf(-1));
}

// The structures are handed over as raw memory: each must match its format,
// and every attribute of every layout must be one the usage accepts.
TEST(Vertex, LayoutsMatchTheirStructuresAndOffsets) {
    const int sizes[cVertex::LayoutCount] = {16, 24, 32, 44, 24, 28, 32, 12, 16, 20, 56, 88, 132};
    for (int i = 0; i < cVertex::LayoutCount; i++) {
        cVertex::Format f = cVertex::GetLayoutFormat(i);
        EXPECT_EQ(sizes[i], f.GetSize()) << "layout " << i;
        for (const cVertex::Attrib& a : f.Attribs) EXPECT_TRUE(a.IsValid()) << "layout " << i << " " << a.Name.ToChar();
    }
    EXPECT_EQ(0, cVertex::GetLayoutFormat(13).Attribs.Count());

    cVertex::Format bump = cVertex::GetLayoutFormat(10);
    int offset = -1, count = -1;
    ASSERT_TRUE(bump.HasUsage(cVertexUsage::Tangent, &offset, &count));
    EXPECT_EQ(32, offset);
    EXPECT_EQ(3, count);
    EXPECT_EQ(offsetof(cVertex::Bump, Tangent), (size_t)offset);
    EXPECT_FALSE(bump.HasUsage(cVertexUsage::Weights, &offset, &count));
    cVertex::Format anim = cVertex::GetLayoutFormat(11);
    ASSERT_TRUE(anim.HasUsage(cVertexUsage::Weights, &offset, nullptr));
    EXPECT_EQ(offsetof(cVertex::Anim, Weights), (size_t)offset);
}
