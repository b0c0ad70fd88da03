// Editing a spline with move tools and drawing it. Each node has a move tool
// on each of its three points; the widget registry owns the tools, a node
// keeps their ids and frees them with itself. The tools write the points
// directly, so while editing the spline compares them with what it saw last
// (ApplyToolEdits) before every query and every frame.
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"
#include "zozud/view/Spline.h"

namespace zozud {

const cColor cSpline::CurveColor(1, 0.5f, 0, 1);
const cColor cSpline::HandleColor(0.6f, 0.6f, 0.6f, 1);
const cColor cSpline::EndPointColor(1, 1, 1, 1);
const cColor cSpline::ControlColor(0, 1, 0.5f, 1);

namespace {

// The end point's tool: what a drag adds to the end point it adds to both
// control vertices, so the handles keep their shape.
class EndPointTool : public cMoveTool {
public:
    explicit EndPointTool(cSpline_Node* node) : cMoveTool(&node->EP), m_Node(node) {}
    bool OnMouseMove() override {
        cVec3 before = m_Node->EP;
        bool handled = cMoveTool::OnMouseMove();
        cVec3 moved = m_Node->EP - before;
        m_Node->CV0 += moved;
        m_Node->CV1 += moved;
        return handled;
    }

private:
    cSpline_Node* m_Node;  // owns the tool's id and frees the tool before it goes
};

}  // namespace

// ---- cSpline_Node ----

cMoveTool* cSpline_Node::GetTool(int i) const {
    if (!m_Tools[i] || cWidgets::GetWidget(ToolIDs[i]) != m_Tools[i]) return nullptr;
    return m_Tools[i];
}

void cSpline_Node::CreateTools(const cMat4& parent) {
    for (int i = 0; i < 3; i++) {
        m_Seen[i] = Point(i);
        if (GetTool(i)) continue;
        m_Tools[i] = i == 1 ? new EndPointTool(this) : new cMoveTool(&Point(i));
        ToolIDs[i] = cWidgets::AddWidget(m_Tools[i], cTransformTool::Layer);
    }
    SetToolsParent(parent);
}

void cSpline_Node::FreeTools() {
    for (int i = 0; i < 3; i++) {
        if (cMoveTool* tool = GetTool(i)) cWidgets::FreeWidget(tool, true);
        m_Tools[i] = nullptr;
        ToolIDs[i] = -1;
    }
}

void cSpline_Node::SetToolsParent(const cMat4& parent) {
    for (int i = 0; i < 3; i++)
        if (cMoveTool* tool = GetTool(i)) tool->SetParent(parent);
}

void cSpline_Node::Render(const cMat4& toWorld) const {
    cVec3 cv0 = cVec3::TransformCoordinate(CV0, toWorld);
    cVec3 ep = cVec3::TransformCoordinate(EP, toWorld);
    cVec3 cv1 = cVec3::TransformCoordinate(CV1, toWorld);
    cVec3 handle[3] = {cv0, ep, cv1};
    cRender::DrawLineStrip(handle, 3, cSpline::HandleColor);
    const cViewer* viewer = cRender::GetViewer();
    if (!viewer) return;
    cRender::DrawBillboardQuadsSolid(&cv0, 1, cSpline::ControlPixels * viewer->PixelSizeAt(cv0), cSpline::ControlColor);
    cRender::DrawBillboardQuadsSolid(&cv1, 1, cSpline::ControlPixels * viewer->PixelSizeAt(cv1), cSpline::ControlColor);
    cRender::DrawBillboardQuadsSolid(&ep, 1, cSpline::EndPointPixels * viewer->PixelSizeAt(ep), cSpline::EndPointColor);
}

// ---- cSpline ----

void cSpline::CreateTools() {
    m_Editing = true;
    Invalidate();  // the tools start from the points as they are now
    cMat4 world = GetWorldMatrix();
    for (cSpline_Node* node : Nodes) node->CreateTools(world);
}

void cSpline::FreeTools() {
    m_Editing = false;
    for (cSpline_Node* node : Nodes) node->FreeTools();
}

void cSpline::UpdateParent() {
    cMat4 world = GetWorldMatrix();
    for (cSpline_Node* node : Nodes) node->SetToolsParent(world);
    Transform.SetParentTransform(m_Parent);
}

void cSpline::ApplyToolEdits() {
    if (!m_Editing) return;
    for (cSpline_Node* node : Nodes) {
        for (int i = 0; i < 3; i++) {
            if (node->Point(i) != node->m_Seen[i]) Invalidate();
            node->m_Seen[i] = node->Point(i);
        }
    }
}

void cSpline::OnRender() {
    if (m_Editing) UpdateParent();
    const cSplinePath& path = GetPath();
    cMat4 world = GetWorldMatrix();
    cList<cVec3> points;
    int segments = path.GetSegmentCount();
    for (int i = 0; i < segments; i++)
        for (int k = (i == 0 ? 0 : 1); k <= RenderSteps; k++)
            points.Add(cVec3::TransformCoordinate(path.GetValue(Place(i, (float)k / RenderSteps)), world));
    cRender::DrawLineStrip(points.GetPtr(), points.Count(), CurveColor);
    if (!m_Editing) return;
    for (cSpline_Node* node : Nodes) node->Render(world);
}

}  // namespace zozud
