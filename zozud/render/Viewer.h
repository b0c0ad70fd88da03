// cViewer: what the render front end needs of a camera: the viewport
// rectangle given to the device, the view and projection matrices, the aspect
// it was built for, and a state stack for render-target passes. The viewers
// of the view layer derive from it and rebuild the matrices in Update.
#pragma once

#include "zozud/core/List.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Rect.h"

namespace zozud {

class cViewer {
public:
    cRect Viewport = cRect(0, 0, 0, 0);  // pixels of the target the viewer draws into
    float Aspect = 1.0f;                 // the viewer's own aspect (width / height)
    float WorkAspect = 1.0f;             // the aspect the matrices are built with
    cMat4 ViewMatrix = cMat4::Identity;
    cMat4 ProjectionMatrix = cMat4::Identity;

    virtual ~cViewer() {}

    // Rebuilds the matrices from the fields; the base keeps them as they are.
    virtual void Update() {}
    // Saves and restores everything above (a pop without a push does nothing).
    virtual void PushState();
    virtual void PopState();

    cMat4 GetViewProjectionMatrix() const { return ViewMatrix * ProjectionMatrix; }

private:
    struct State {
        cRect Viewport;
        float Aspect, WorkAspect;
        cMat4 ViewMatrix, ProjectionMatrix;
    };
    cList<State> m_States;
};

}  // namespace zozud
