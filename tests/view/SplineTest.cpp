// cSpline: the XML round trip and what loading does to the nodes and the
// cache, the resampling buttons behind their yes/no question, re-centring,
// and editing the nodes with the move tools through queued mouse events of
// the current viewer.
#include <gtest/gtest.h>

#include <string>

#include "view/ViewTestSupport.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/view/Spline.h"

using namespace zozud;
using zozud_test::FakeInput;
using zozud_test::Scene;

namespace {

bool Near(const cVec3& a, const cVec3& b, float eps) { return (a - b).Length() <= eps; }

void Fill(cSpline& s) {
    s.AddNode(cVec3(-1, 0, 0), cVec3(0, 0, 0), cVec3(1, 0.5f, 0));
    s.AddNode(cVec3(4, 2.25f, 0), cVec3(5, 2, -1), cVec3(6, 1.75f, -2));
    s.AddNode(cVec3(9, 0, 3), cVec3(10, -1, 3), cVec3(11, -2, 3));
    s.Closed = true;
    s.Invalidate();
    s.Transform.Translate = cVec3(0, 0, 7);
    s.SetUniformSampledNodeCount = 6;
    s.SetAdaptiveSampledMaxErrSq = 0.5f;
}

struct Asked {
    static inline std::string title, text;
    static inline bool answer = false;
    static bool Hook(const char* t, const char* q) {
        title = t, text = q;
        return answer;
    }
};

}  // namespace

TEST(Spline, XmlRoundTripRestoresNodesAndCurve) {
    cSpline a;
    Fill(a);
    cStr text;
    ASSERT_TRUE(a.WriteToString(&text));
    std::string xml = text.ToChar();
    EXPECT_NE(std::string::npos, xml.find("<Nodes>\n  <cSpline_Node>\n   <CV0>-1.000 0.000 0.000</CV0>")) << xml;
    EXPECT_NE(std::string::npos, xml.find("<Closed>true</Closed>")) << xml;
    EXPECT_NE(std::string::npos, xml.find("<Translate>0.000 0.000 7.000</Translate>")) << xml;

    cSpline b;
    b.AddNode(cVec3(0, 0, 0), cVec3(1, 1, 1), cVec3(2, 2, 2));  // replaced by the load
    EXPECT_EQ(0, b.GetSegmentCount());
    ASSERT_TRUE(b.ReadFromString(text));
    ASSERT_EQ(3, b.Nodes.Count());
    for (int i = 0; i < 3; i++) {
        EXPECT_TRUE(a.Nodes[i]->CV0 == b.Nodes[i]->CV0 && a.Nodes[i]->EP == b.Nodes[i]->EP &&
                    a.Nodes[i]->CV1 == b.Nodes[i]->CV1) << i;
        EXPECT_EQ(&b.Nodes, b.Nodes[i]->GetParent());
    }
    EXPECT_STREQ("Spline, 3 nodes", b.ToString().ToChar());
    EXPECT_STREQ("2. Node", b.Nodes[1]->ToString().ToChar());
    EXPECT_TRUE(b.Closed);
    EXPECT_EQ(cVec3(0, 0, 7), b.Transform.Translate);
    EXPECT_EQ(6, b.SetUniformSampledNodeCount);
    EXPECT_EQ(0.5f, b.SetAdaptiveSampledMaxErrSq);
    EXPECT_EQ(3, b.GetSegmentCount());  // the cache followed the load
    EXPECT_FLOAT_EQ(a.GetTotalLength(), b.GetTotalLength());
    cStr again;
    ASSERT_TRUE(b.WriteToString(&again));
    EXPECT_STREQ(text.ToChar(), again.ToChar());

    cSpline copy;
    EXPECT_EQ(0, copy.GetSegmentCount());
    copy.FullCopy(&copy, nullptr, &a, &a, nullptr, nullptr);
    ASSERT_EQ(3, copy.Nodes.Count());
    EXPECT_NE(a.Nodes[0], copy.Nodes[0]);
    EXPECT_FLOAT_EQ(a.GetTotalLength(), copy.GetTotalLength());
}

TEST(Spline, LoadingSkipsWhatIsNotANodeAndKeepsTheRest) {
    const struct { const char* name; const char* xml; int nodes; } rows[] = {
        {"unknown class", "<cSpline><Nodes><cNothing><EP>1 2 3</EP></cNothing><cSpline_Node><EP>4 5 6</EP></cSpline_Node></Nodes></cSpline>", 1},
        {"a wrapper", "<cSpline><Nodes><_cFloat>3</_cFloat></Nodes></cSpline>", 0},
        {"bad numbers", "<cSpline><Nodes><cSpline_Node><EP>x y</EP></cSpline_Node></Nodes></cSpline>", 1},
        {"no nodes", "<cSpline><Closed>true</Closed></cSpline>", 0},
    };
    for (const auto& r : rows) {
        cSpline s;
        s.ReadFromString(cStr(r.xml));
        EXPECT_EQ(r.nodes, s.Nodes.Count()) << r.name;
        s.GetValueByTime(0.5f);  // any query on what was loaded is safe
        s.CalcClosestPointPlaceAccurate(cVec3(1, 1, 1), 1e-4f);
    }
    cSpline s;
    s.ReadFromString(cStr(rows[0].xml));
    EXPECT_EQ(cVec3(4, 5, 6), s.Nodes[0]->EP);
    EXPECT_EQ(cVec3(10, 10, 0), s.Nodes[0]->CV1);  // left out: the default
}

TEST(Spline, ResamplingButtonsAskFirst) {
    struct Row { bool hook, answer, uniform; int nodes; const char* title; const char* text; };
    const Row rows[] = {
        {false, true, true, 3, "", ""},
        {true, false, true, 3, "Confirm Set Uniform Sampled", "Are you sure you want to set uniform sampled spline with 6 nodes ?"},
        {true, true, true, 6, "Confirm Set Uniform Sampled", "Are you sure you want to set uniform sampled spline with 6 nodes ?"},
        {true, false, false, 3, "Confirm Set Adaptive Sampled", "Are you sure you want to set adaptive sampled spline with maximal squared error 0.5 ?"},
    };
    for (const Row& r : rows) {
        cSpline s;
        Fill(s);
        Asked::title = Asked::text = "";
        Asked::answer = r.answer;
        cSpline::SetConfirmHook(r.hook ? Asked::Hook : nullptr);
        if (r.uniform) s.SetUniformSampled(); else s.SetAdaptiveSampled();
        EXPECT_EQ(r.nodes, s.Nodes.Count()) << r.text;
        EXPECT_EQ(r.title, Asked::title);
        EXPECT_EQ(r.text, Asked::text);
    }
    cSpline s;
    Fill(s);
    Asked::answer = true;
    cSpline::SetConfirmHook(Asked::Hook);
    s.SetAdaptiveSampled();
    cSpline::SetConfirmHook(nullptr);
    EXPECT_GE(s.Nodes.Count(), 3);
    s.SetUniformSampledNodeCount = 2;  // too few for a closed spline: nothing changes
    int before = s.Nodes.Count();
    EXPECT_FALSE(s.ResampleUniform(2));
    EXPECT_EQ(before, s.Nodes.Count());
}

TEST(Spline, SetFromPointsFollowsClosed) {
    const cVec3 points[4] = {cVec3(0, 0, 0), cVec3(10, 0, 0), cVec3(10, 10, 0), cVec3(0, 10, 0)};
    for (bool closed : {false, true}) {
        cSpline s;
        s.Closed = closed;
        s.SetFromPoints(points, 4);
        ASSERT_EQ(4, s.Nodes.Count());
        EXPECT_EQ(closed ? 4 : 3, s.GetSegmentCount());
        for (int i = 0; i < 3; i++) EXPECT_EQ(points[i], s.GetValue(cSpline::Place(i, 0)));
        EXPECT_EQ(closed ? points[0] : points[3], s.GetValueByTime(1));
    }
}

TEST(Spline, CenterTransformKeepsTheWorldPath) {
    cSpline s;
    Fill(s);
    s.Transform.Scale = cVec3(2, 2, 2);
    s.Transform.Rotate = cAngles(0, 30, 10);
    cVec3 before[5];
    for (int i = 0; i < 5; i++) before[i] = cVec3::TransformCoordinate(s.GetValueByTime(i / 4.0f), s.GetWorldMatrix());
    s.CenterTransform();
    cVec3 mean(0, 0, 0);
    for (cSpline_Node* n : s.Nodes) mean += n->EP;
    EXPECT_TRUE(Near(cVec3(0, 0, 0), mean, 1e-5f));
    for (int i = 0; i < 5; i++)
        EXPECT_TRUE(Near(before[i], cVec3::TransformCoordinate(s.GetValueByTime(i / 4.0f), s.GetWorldMatrix()), 1e-4f)) << i;
}

// ---- Editing ----

namespace {

int CountWidgets() {
    int n = 0;
    for (int layer = 0; layer < cWidgets::LayerCount; layer++)
        for (cWidget* w : cWidgets::GetLayer(layer)) n += w != nullptr;
    return n;
}

}  // namespace

TEST(SplineEditing, MoveToolsDragNodesAndTheCurveFollows) {
    Scene scene;
    int widgets = CountWidgets();
    cSpline s;
    // Points farther apart than the tools are long, so no tool hides another.
    s.AddNode(cVec3(-9, -6, 0), cVec3(-9, 0, 0), cVec3(-9, 6, 0));
    s.AddNode(cVec3(6, -6, 0), cVec3(6, 0, 0), cVec3(6, 6, 0));
    s.Transform.Translate = cVec3(0, 0, -2);
    EXPECT_EQ(cVec3(-9, 0, 0), s.GetValueByTime(0));
    s.Edit();
    ASSERT_TRUE(s.IsEditing());
    EXPECT_EQ(widgets + 6, CountWidgets());
    for (cSpline_Node* n : s.Nodes)
        for (int i = 0; i < 3; i++) {
            ASSERT_GE(n->ToolIDs[i], 0);
            ASSERT_NE(nullptr, n->GetTool(i));
            ASSERT_TRUE(n->GetTool(i)->CalcFrame());
            // Each tool sits on its point in the world, placed by the transform.
            EXPECT_TRUE(Near(n->Point(i) + cVec3(0, 0, -2), n->GetTool(i)->GetOrigin(), 1e-5f));
        }

    // Dragging the first end point carries its control vertices.
    ASSERT_NE(nullptr, s.Nodes[0]->GetTool(1));
    scene.DragX(*s.Nodes[0]->GetTool(1), 0.5f);
    scene.in.Release(cInput::LeftButton);
    EXPECT_NEAR(-8.5f, s.Nodes[0]->EP.x, 2e-3f);
    EXPECT_NEAR(-8.5f, s.Nodes[0]->CV0.x, 2e-3f);
    EXPECT_NEAR(-8.5f, s.Nodes[0]->CV1.x, 2e-3f);
    EXPECT_TRUE(s.Nodes[0]->CV0.y == -6 && s.Nodes[0]->CV1.y == 6);
    EXPECT_TRUE(Near(s.Nodes[0]->EP, s.GetValueByTime(0), 1e-6f));

    // Dragging a control vertex moves it alone, and the curve changes.
    cVec3 middle = s.GetValueByTime(0.5f);
    ASSERT_NE(nullptr, s.Nodes[1]->GetTool(0));
    scene.DragX(*s.Nodes[1]->GetTool(0), -1.0f);
    scene.in.Release(cInput::LeftButton);
    EXPECT_NEAR(5.0f, s.Nodes[1]->CV0.x, 2e-3f);
    EXPECT_EQ(cVec3(6, 0, 0), s.Nodes[1]->EP);
    EXPECT_EQ(cVec3(6, 6, 0), s.Nodes[1]->CV1);
    EXPECT_GT((s.GetValueByTime(0.5f) - middle).Length(), 0.1f);

    // New nodes while editing get tools; the old ones' tools go with them.
    const cVec3 points[3] = {cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(2, 0, 0)};
    s.SetFromPoints(points, 3);
    cWidgets::ApplyWithinCriticalSectionQueries();
    EXPECT_EQ(widgets + 9, CountWidgets());
    s.FreeTools();
    EXPECT_FALSE(s.IsEditing());
    EXPECT_EQ(-1, s.Nodes[2]->ToolIDs[1]);
    EXPECT_EQ(widgets, CountWidgets());
}

TEST(SplineEditing, ToolsGoWithTheSplineAndSurviveFreeAll) {
    Scene scene;
    int widgets = CountWidgets();
    {
        cSpline s;
        s.AddNode(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(2, 0, 0));
        s.Edit();
        EXPECT_EQ(widgets + 3, CountWidgets());
    }
    EXPECT_EQ(widgets, CountWidgets());
    cSpline s;
    s.AddNode(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(2, 0, 0));
    s.Edit();
    cWidgets::FreeAll();  // the registry frees the tools under the spline
    EXPECT_EQ(nullptr, s.Nodes[0]->GetTool(1));
    s.Edit();  // makes new ones
    EXPECT_NE(nullptr, s.Nodes[0]->GetTool(1));
}
