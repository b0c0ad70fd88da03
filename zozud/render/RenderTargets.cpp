// Render targets and their stack. A push makes the current viewer draw into
// the targets (its state saved, its viewport the size of the first target,
// clipping off); a pop goes back to the previous entry or to the screen and
// restores the viewer and the clip rectangle.
#include "zozud/render/Render.h"

#include "zozud/render/RenderState.h"
#include "zozud/render/Viewer.h"

namespace zozud {

int cRender::AddRenderTarget(int width, int height, cFormat::Enum format, int samplerStateID, bool mipMaps,
                             int flags) {
    if (!s.Instance) return -1;
    int id = s.Instance->AddRenderTarget(width, height, format, mipMaps, flags);
    s.Instance->SetSamplerState(id, samplerStateID);
    return id;
}

int cRender::AddRenderDepth(int id) {
    return s.Instance ? s.Instance->AddRenderDepth(id, cFormat::Depth24Stencil8) : -1;
}

void cRender::SetRenderTargetSize(int id, int width, int height) {
    if (s.Instance) s.Instance->SetRenderTargetSize(id, width, height);
}

bool cRender::SaveRenderTarget(int id, cImage* image) {
    return s.Instance && s.Instance->SaveRenderTarget(id, image);
}

int cRender::GetTextureRenderTargetUsage(int id) {
    return s.Instance ? s.Instance->GetTextureRenderTargetUsage(id) : -1;
}

int cRender::GetRenderTargetMaxDepth() { return s.RenderTargetsMaxDepth; }

void cRender::PushRenderTarget(const int* targets, int count, int depth, const int* faces, bool useViewerAspect) {
    if (count < 0) count = 0;
    // The slot above the top keeps the lists of an earlier push: reusing it
    // (rather than adding a fresh entry, whose empty lists would replace
    // them) lets steady-state pushes allocate nothing.
    int at = s.RenderTargetsStack.Count();
    s.RenderTargetsStack.SetCount(at + 1);
    cRender_RenderTarget& entry = s.RenderTargetsStack[at];
    entry.Targets.Clear();
    entry.Targets.AddRange(targets, count);
    entry.Depth = depth;
    entry.Faces.Clear();
    if (faces) entry.Faces.AddRange(faces, count);
    entry.UseViewerAspect = useViewerAspect;
    if (s.RenderTargetsStack.Count() > s.RenderTargetsMaxDepth) s.RenderTargetsMaxDepth = s.RenderTargetsStack.Count();

    if (s.Instance) s.Instance->SetRenderTargets(targets, count, depth, faces);
    cViewer* viewer = s.Viewer;
    if (viewer) {
        viewer->PushState();
        if (useViewerAspect) {
            viewer->WorkAspect = viewer->Aspect;
            viewer->Update(false);  // a target's image is never turned
        }
        int w = count > 0 ? GetTextureWidth(targets[0]) : 0;
        int h = count > 0 ? GetTextureHeight(targets[0]) : 0;
        viewer->Viewport = cRect(0, 0, (float)w, (float)h);
        viewer->Update(false);
        SetViewer(viewer);
    }
    PushClipRect();
    SetClipRect(cRect::Empty);
}

void cRender::PopRenderTarget() {
    cList<cRender_RenderTarget>& stack = s.RenderTargetsStack;
    if (stack.IsEmpty()) return;
    stack.RemoveAt(stack.Count() - 1);
    if (s.Instance) {
        if (stack.IsEmpty()) {
            s.Instance->SetRenderTargets(nullptr, 0, -1, nullptr);
        } else {
            const cRender_RenderTarget& top = stack.GetLast();
            s.Instance->SetRenderTargets(top.Targets.GetPtr(), top.Targets.Count(), top.Depth,
                                         top.Faces.IsEmpty() ? nullptr : top.Faces.GetPtr());
        }
    }
    if (s.Viewer) {
        s.Viewer->PopState();
        if (s.Instance) s.Instance->SetViewport(s.Viewer->Viewport);
    }
    if (s.Instance) s.Instance->UpdateMatrices();
    PopClipRect();
}

}  // namespace zozud
