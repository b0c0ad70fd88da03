// cSpline: an editable, reflected 3D path of cubic Bezier segments between
// nodes (cSpline_Node: an end point the path passes through and two control
// vertices, absolute positions in the spline's own space, which Transform
// places in the world). The curve arithmetic is cSplinePath's; the spline
// keeps one as a cache, built on the first query after a change.
// Changes made through the spline's functions, by loading, through the
// property panel (OnChangeMember) and with the move tools while editing are
// noticed; code that writes Nodes or Closed directly calls Invalidate().
// It is a widget: OnRender draws the curve and, while editing, every node's
// end point, control vertices and handle lines. Edit() gives each node three
// move tools; dragging an end point carries its control vertices along.
// The resampling buttons ask first through the shell's yes/no box
// (SetConfirmHook); without a hook the answer is no and nothing changes.
#pragma once

#include "zozud/math/Mat4.h"
#include "zozud/math/SplinePath.h"
#include "zozud/reflect/Button.h"
#include "zozud/reflect/Class.h"
#include "zozud/reflect/ClassList.h"
#include "zozud/image/Color.h"
#include "zozud/view/Transform.h"
#include "zozud/view/TransformTools.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

class cSpline_Node : public cClass {
public:
    ZOZUD_CLASS(cSpline_Node)
    cSpline_Node() { CallCtor(this); }
    cSpline_Node(const cSpline_Node&) = delete;
    cSpline_Node& operator=(const cSpline_Node&) = delete;
    ~cSpline_Node() override { FreeTools(); }

    void CustomCtor() override;
    int  RegisterMembers() override;
    using cClass::ToString;
    cStr ToString() override;  // "<number from 1>. Node"

    cVec3 CV0;  // incoming control vertex
    cVec3 EP;   // end point
    cVec3 CV1;  // outgoing control vertex
    int   ToolIDs[3] = {-1, -1, -1};  // widget ids of the move tools on CV0, EP, CV1

    cSplineKnot ToKnot() const { return cSplineKnot{CV0, EP, CV1}; }
    void  SetKnot(const cSplineKnot& k) { CV0 = k.CV0, EP = k.EP, CV1 = k.CV1; }
    cVec3& Point(int i) { return i == 0 ? CV0 : i == 1 ? EP : CV1; }

    // ---- Editing ----
    void       CreateTools(const cMat4& parent);  // keeps tools that are still there
    void       FreeTools();
    cMoveTool* GetTool(int i) const;              // null when the registry no longer holds it
    void       SetToolsParent(const cMat4& parent);
    // Handle lines, control vertices and the end point, placed by toWorld.
    void Render(const cMat4& toWorld) const;

private:
    friend class cSpline;
    cMoveTool* m_Tools[3] = {nullptr, nullptr, nullptr};  // compared with the registry, never followed alone
    cVec3      m_Seen[3];  // the three points when the spline last looked
};

class cSpline : public cClass, public cWidget {
public:
    ZOZUD_CLASS(cSpline)
    typedef cSplinePath::Place Place;
    typedef cSplinePath::ClosestPointRef ClosestPointRef;
    typedef bool (*ConfirmHook)(const char* title, const char* text);

    // Drawing: colours and sizes in pixels.
    static const cColor CurveColor, HandleColor, EndPointColor, ControlColor;
    static const int    EndPointPixels = 9, ControlPixels = 7, RenderSteps = 32;

    cSpline() { CallCtor(this); }
    cSpline(const cSpline&) = delete;
    cSpline& operator=(const cSpline&) = delete;
    ~cSpline() override { FreeTools(); }

    void CustomCtor() override;
    int  RegisterMembers() override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext* context) override;
    bool OnChangeMember(cClass*, void*, void*, const char*) override { Invalidate(); return false; }
    using cClass::ToString;
    cStr ToString() override;  // "Spline, <n> nodes"

    cClassList<cSpline_Node> Nodes;
    bool       Closed;
    cTransform Transform;
    int        SetUniformSampledNodeCount;
    float      SetAdaptiveSampledMaxErrSq;

    // ---- Cache ----
    void Invalidate() { m_CacheValid = false; }
    void EnsureCache() { ApplyToolEdits(); if (!m_CacheValid) FillCache(); }
    void FillCache();
    const cSplinePath& GetPath() { EnsureCache(); return m_Path; }
    int  GetSegmentCount() { return GetPath().GetSegmentCount(); }

    // ---- Points and derivatives, in the spline's own space ----
    cVec3 GetValue(const Place& place) { return GetPath().GetValue(place); }
    cVec3 GetDerivativeLocal(const Place& place) { return GetPath().GetDerivativeLocal(place); }
    cVec3 GetDerivativeGlobal(const Place& place) { return GetPath().GetDerivativeGlobal(place); }
    cVec3 GetValueByTime(float time) { return GetPath().GetValueByTime(time); }
    cVec3 GetValueByLength(float length) { return GetPath().GetValueByLength(length); }
    cVec3 GetDerivativeLocal(float time) { return GetPath().GetDerivativeLocal(time); }
    cVec3 GetDerivativeGlobal(float time) { return GetPath().GetDerivativeGlobal(time); }

    // ---- Places, times and lengths ----
    Place GetPlaceByTime(float time) { return GetPath().GetPlaceByTime(time); }
    Place GetPlaceByLength(float length) { return GetPath().GetPlaceByLength(length); }
    Place GetPlaceByLengthAccurate(float length) { return GetPath().GetPlaceByLengthAccurate(length); }
    float GetLengthFromPlace(const Place& place) { return GetPath().GetLengthFromPlace(place); }
    float GetTimeFromPlace(const Place& place) { return GetPath().GetTimeFromPlace(place); }
    bool  GetSegmentTimeRange(int i, float* start, float* end) { return GetPath().GetSegmentTimeRange(i, start, end); }
    bool  GetSegmentLengthRange(int i, float* start, float* end) { return GetPath().GetSegmentLengthRange(i, start, end); }
    float GetTotalLength() { return GetPath().GetTotalLength(); }
    cBounds GetBounds() { return GetPath().GetBounds(); }
    Place CalcClosestPointPlaceLinear(const cVec3& p) { return GetPath().CalcClosestPointPlaceLinear(p); }
    Place CalcClosestPointPlaceAccurate(const cVec3& p, float epsilon) { return GetPath().CalcClosestPointPlaceAccurate(p, epsilon); }

    // ---- Changing the nodes ----
    cSpline_Node* AddNode(const cVec3& cv0, const cVec3& ep, const cVec3& cv1);
    void SetNodes(const cList<cSplineKnot>& knots);  // replaces every node
    void SetFromPoints(const cVec3* points, int n);   // one node per point
    bool ResampleUniform(int count);                  // false (nothing changed) when it cannot
    bool ResampleAdaptive(float maxErrSq);

    // ---- Buttons ----
    void CenterTransform();     // the nodes around their mean end point, the world unchanged
    void Edit() { CreateTools(); }
    void SetUniformSampled();   // asks, then ResampleUniform(SetUniformSampledNodeCount)
    void SetAdaptiveSampled();  // asks, then ResampleAdaptive(SetAdaptiveSampledMaxErrSq)
    static void SetConfirmHook(ConfirmHook hook);

    // ---- Editing ----
    void  CreateTools();
    void  FreeTools();
    bool  IsEditing() const { return m_Editing; }
    void  SetParentTransform(const cMat4& parent) { m_Parent = parent; UpdateParent(); }
    cMat4 GetWorldMatrix() const { return Transform.ToMat4() * m_Parent; }
    void  UpdateParent();  // the world matrix to every node tool

    // ---- Widget ----
    void OnRender() override;

private:
    cSplinePath m_Path;
    bool  m_CacheValid = false;
    bool  m_Editing = false;
    cMat4 m_Parent = cMat4::Identity;

    void NodesReplaced();   // after a load or a new set of nodes
    void ApplyToolEdits();  // while editing: points the tools moved make the cache stale
    static bool Confirm(const char* title, const char* text);
};

}  // namespace zozud
