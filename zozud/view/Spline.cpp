// cSpline and cSpline_Node: members, the cache, changes to the nodes and the
// buttons. Editing and drawing are in SplineEdit.cpp.
#include "zozud/view/Spline.h"

#include "zozud/reflect/Wrappers.h"

namespace zozud {

namespace {

cSpline::ConfirmHook s_Confirm = nullptr;

}  // namespace

// ---- cSpline_Node ----

void cSpline_Node::CustomCtor() {
    CV0 = cVec3(-10, 10, 0);
    EP = cVec3(0, 10, 0);
    CV1 = cVec3(10, 10, 0);
}

int cSpline_Node::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cFloat3", &CV0, "CV0");
    cClass_RegMember(this, "_cFloat3", &EP, "EP");
    cClass_RegMember(this, "_cFloat3", &CV1, "CV1");
    return EndRegisterMembers();
}

cStr cSpline_Node::ToString() { return cStr::Format("%d. Node", IndexOfThis() + 1); }

// ---- cSpline: members ----

void cSpline::CustomCtor() {
    Closed = false;
    SetUniformSampledNodeCount = 10;
    SetAdaptiveSampledMaxErrSq = 100;
    Invalidate();
}

int cSpline::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cSpline_Node node;  // the list makes its entries by this class name
    cClass_RegClass(&node);
    cClass_RegAuto(this, Nodes, "Nodes");
    cClass_RegMember(this, "_cBool", &Closed, "Closed");
    cClass_RegAuto(this, Transform, "Transform");
    cClass_RegMember(this, "_cSeparator", nullptr, "Sampling");
    cClass_RegMember(this, "_cInt", &SetUniformSampledNodeCount, "SetUniformSampledNodeCount");
    cClass_RegMember(this, "_cFloat", &SetAdaptiveSampledMaxErrSq, "SetAdaptiveSampledMaxErrSq");
    cClass_RegMember(this, "_cSeparator", nullptr, "Actions");
    cClass_RegButton(this, &cSpline::CenterTransform, "&cSpline::CenterTransform");
    cClass_RegButton(this, &cSpline::Edit, "&cSpline::Edit");
    cClass_RegButton(this, &cSpline::SetUniformSampled, "&cSpline::SetUniformSampled");
    cClass_RegButton(this, &cSpline::SetAdaptiveSampled, "&cSpline::SetAdaptiveSampled");
    return EndRegisterMembers();
}

// The loaded or copied object may be another spline than this prototype.
bool cSpline::Load(cXml& node, void* data, cErrorPager* pager, void* extra) {
    bool ok = cClass::Load(node, data, pager, extra);
    static_cast<cSpline*>(Target(data))->NodesReplaced();
    return ok;
}

void cSpline::FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext* context) {
    cClass::FullCopy(dst, extra, srcClass, src, srcExtra, context);
    static_cast<cSpline*>(Target(dst))->NodesReplaced();
}

cStr cSpline::ToString() { return cStr::Format("Spline, %d nodes", Nodes.Count()); }

// ---- Cache ----

void cSpline::FillCache() {
    cList<cSplineKnot> knots;
    for (cSpline_Node* node : Nodes) knots.Add(node->ToKnot());
    m_Path.Build(knots.GetPtr(), knots.Count(), Closed);
    m_CacheValid = true;
}

// ---- Changing the nodes ----

cSpline_Node* cSpline::AddNode(const cVec3& cv0, const cVec3& ep, const cVec3& cv1) {
    cSpline_Node* node = new cSpline_Node;
    node->SetKnot(cSplineKnot{cv0, ep, cv1});
    node->SetParent(&Nodes);
    Nodes.Add(node);
    NodesReplaced();
    return node;
}

void cSpline::SetNodes(const cList<cSplineKnot>& knots) {
    Nodes.Clear();
    for (const cSplineKnot& k : knots) {
        cSpline_Node* node = new cSpline_Node;
        node->SetKnot(k);
        node->SetParent(&Nodes);
        Nodes.Add(node);
    }
    NodesReplaced();
}

void cSpline::SetFromPoints(const cVec3* points, int n) {
    cList<cSplineKnot> knots;
    cSplinePath::KnotsFromPoints(points, n, Closed, &knots);
    SetNodes(knots);
}

bool cSpline::ResampleUniform(int count) {
    cList<cSplineKnot> knots;
    if (!GetPath().SampleUniform(count, &knots)) return false;
    SetNodes(knots);
    return true;
}

bool cSpline::ResampleAdaptive(float maxErrSq) {
    cList<cSplineKnot> knots;
    if (!GetPath().SampleAdaptive(maxErrSq, &knots)) return false;
    SetNodes(knots);
    return true;
}

// New nodes get tools when the spline is being edited; the cache is rebuilt.
void cSpline::NodesReplaced() {
    Invalidate();
    if (m_Editing) CreateTools();
}

// ---- Buttons ----

// The world point of the mean end point becomes the transform's translation,
// and the nodes move by the opposite, so the path stays where it was.
void cSpline::CenterTransform() {
    if (Nodes.IsEmpty()) return;
    cVec3 center(0, 0, 0);
    for (cSpline_Node* node : Nodes) center += node->EP;
    center /= (float)Nodes.Count();
    Transform.Translate = cVec3::TransformCoordinate(center, Transform.ToMat4());
    for (cSpline_Node* node : Nodes)
        for (int i = 0; i < 3; i++) {
            node->Point(i) -= center;
            node->m_Seen[i] -= center;
        }
    Invalidate();
    UpdateParent();
}

void cSpline::SetConfirmHook(ConfirmHook hook) { s_Confirm = hook; }

bool cSpline::Confirm(const char* title, const char* text) { return s_Confirm && s_Confirm(title, text); }

void cSpline::SetUniformSampled() {
    cStr text = cStr::Format("Are you sure you want to set uniform sampled spline with %d nodes ?",
                             SetUniformSampledNodeCount);
    if (Confirm("Confirm Set Uniform Sampled", text)) ResampleUniform(SetUniformSampledNodeCount);
}

void cSpline::SetAdaptiveSampled() {
    cStr text = cStr::Format("Are you sure you want to set adaptive sampled spline with maximal squared error %g ?",
                             (double)SetAdaptiveSampledMaxErrSq);
    if (Confirm("Confirm Set Adaptive Sampled", text)) ResampleAdaptive(SetAdaptiveSampledMaxErrSq);
}

}  // namespace zozud
