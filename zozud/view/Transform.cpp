#include "zozud/view/Transform.h"

namespace zozud {

namespace {
// The registry owns the tools: it frees them (now, or after the iteration
// in progress), and with them the capture.
template <class T>
void FreeTool(T** tool) {
    if (*tool) cWidgets::FreeWidget(*tool, true);
    *tool = nullptr;
}
}  // namespace

// ---- cTransform ----

void cTransform::CustomCtor() {
    Scale = cVec3(1, 1, 1);
    Rotate = cAngles(0, 0, 0);
    Translate = cVec3(0, 0, 0);
}

int cTransform::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cFloat3", &Scale, "Scale");
    cClass_RegMember(this, "_cFloat3", &Rotate, "Rotate");
    cClass_RegMember(this, "_cFloat3", &Translate, "Translate");
    return EndRegisterMembers();
}

cMat4 cTransform::ToMat4() const { return cMat4::Scaling(Scale) * Rotate.ToMat4() * cMat4::Translation(Translate); }

void cTransform::SetParentTransform(const cMat4& parent, const cMat4& parent2) {
    m_Parent = parent;
    m_Parent2 = parent2;
    if (m_MoveTool) m_MoveTool->SetParent(m_Parent, m_Parent2);
    if (m_RotateTool) m_RotateTool->SetParent(m_Parent, m_Parent2);
    if (m_ScaleTool) m_ScaleTool->SetParent(m_Parent, m_Parent2);
}

void cTransform::CreateTools() {
    const int type = g_ManipulatorsType;
    const cSpace::Enum space = (cSpace::Enum)g_ManipulatorsLocal;
    if (type == 1 || type == 4) {
        if (!m_MoveTool) m_MoveTool = new cMoveTool(&Rotate, &Translate, space);
    } else {
        FreeTool(&m_MoveTool);
    }
    if (type == 2 || type == 4) {
        if (!m_RotateTool) m_RotateTool = new cRotateTool(&Rotate, &Translate, space);
    } else {
        FreeTool(&m_RotateTool);
    }
    if (type == 3 || type == 4) {
        if (!m_ScaleTool) m_ScaleTool = new cScaleTool(&Scale, &Rotate, &Translate);
    } else {
        FreeTool(&m_ScaleTool);
    }
    cTransformTool* tools[3] = {m_MoveTool, m_RotateTool, m_ScaleTool};
    for (cTransformTool* tool : tools) {
        if (!tool) continue;
        if (cWidgets::GetWidgetID(tool) < 0) cWidgets::AddWidget(tool, cTransformTool::Layer);
        tool->SetParent(m_Parent, m_Parent2);
        tool->SetCombined(type == 4);
    }
    if (m_MoveTool) m_MoveTool->SetSpace(space);
    if (m_RotateTool) m_RotateTool->SetSpace(space);
}

void cTransform::FreeTools() {
    FreeTool(&m_MoveTool);
    FreeTool(&m_RotateTool);
    FreeTool(&m_ScaleTool);
}

// ---- cPosition ----

int cPosition::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cFloat3", &Position, "Position");
    cClass_RegButton(this, &cPosition::Move, "&cPosition::Move");
    return EndRegisterMembers();
}

void cPosition::Move() {
    FreeTool(&m_MoveTool);
    m_MoveTool = new cMoveTool(&Position);
    m_MoveTool->SetParent(m_Parent);
    cWidgets::AddWidget(m_MoveTool, cTransformTool::Layer);
}

void cPosition::CreateTools() {
    if (!m_MoveTool) Move();
}

void cPosition::FreeTools() { FreeTool(&m_MoveTool); }

}  // namespace zozud
