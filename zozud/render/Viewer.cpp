#include "zozud/render/Viewer.h"

namespace zozud {

void cViewer::PushState() {
    State s;
    s.Viewport = Viewport;
    s.Aspect = Aspect;
    s.WorkAspect = WorkAspect;
    s.ViewMatrix = ViewMatrix;
    s.ProjectionMatrix = ProjectionMatrix;
    m_States.Add(s);
}

void cViewer::PopState() {
    if (m_States.IsEmpty()) return;
    const State& s = m_States.GetLast();
    Viewport = s.Viewport;
    Aspect = s.Aspect;
    WorkAspect = s.WorkAspect;
    ViewMatrix = s.ViewMatrix;
    ProjectionMatrix = s.ProjectionMatrix;
    m_States.RemoveAt(m_States.Count() - 1);
}

}  // namespace zozud
