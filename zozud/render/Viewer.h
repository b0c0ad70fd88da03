// cViewer: the camera of a 3D view. It keeps the camera's position and
// orientation with the projection parameters, builds the view and projection
// matrices that the render front end draws with, and answers picking and
// culling questions. The viewport is in pixels of the target it draws into,
// y up. The render front end pushes the state around render-target passes.
// The navigating viewers of the view layer (cFreeViewer) derive from it and
// add the input handling; the front end only ever sees this class.
// Surprises: the orientation's matrix rows are right, up and back, so the
// camera looks along -Z of that frame; perspective depth runs -1..1,
// orthographic depth 0..1 (the math layer's projections).
#pragma once

#include "zozud/core/List.h"
#include "zozud/math/Frustum.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Quat.h"
#include "zozud/math/Rect.h"
#include "zozud/math/Seg.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cViewer {
public:
    struct CtorArgs {
        cRect Rect = cRect(0, 0, 0, 0);
        float Fov = 67.5f;        // vertical, degrees
        float ZNear = 0.1f;
        float ZFar = 2000.0f;
        bool  InfiniteFar = false;
        float OrthoHalfDepth = 5000.0f;  // the orthographic view spans -half..half along the view
        void  SetDefaults() { *this = CtorArgs(); }
    };

    cRect Viewport = cRect(0, 0, 0, 0);  // pixels of the target the viewer draws into
    float Aspect = 1.0f;                 // the viewer's own aspect (width / height)
    float WorkAspect = 1.0f;             // the aspect the matrices are built with
    cMat4 ViewMatrix = cMat4::Identity;
    cMat4 ProjectionMatrix = cMat4::Identity;

    // Camera and projection parameters; Update turns them into the matrices.
    cVec3 Position = cVec3(0, 0, 0);
    cQuat Orient = cQuat::Identity;
    float Fov = 67.5f;
    float ZNear = 0.1f;
    float ZFar = 2000.0f;
    bool  InfiniteFar = false;
    bool  IsOrtho = false;
    float OrthoZoom = 1.0f;          // pixels per world unit
    float OrthoHalfDepth = 5000.0f;
    float FixedAspect = 0;           // > 0: used instead of the viewport's aspect

    cViewer() {}
    explicit cViewer(const CtorArgs& args);
    virtual ~cViewer() {}

    // Rebuilds every matrix, the inverse view-projection and the frustum.
    // With applyScreenRotation the projection also turns a quarter when the
    // screen is held rotated (SetScreenRotationQuery): the image then fills
    // the viewport turned, as the turned input positions expect. Update()
    // keeps the choice of the last Update(bool); it starts off.
    virtual void Update(bool applyScreenRotation);
    void Update() { Update(m_ApplyScreenRotation); }
    // The seam to the input layer: the quarter turn of the held screen, in
    // degrees (0, -90 with the home button on the right, 90 on the left).
    // Without a query the screen is never turned.
    static void SetScreenRotationQuery(int (*query)());
    int  GetScreenTurn() const { return m_Turn; }  // the quarter turn of the last Update: 0, -90 or 90
    // Saves and restores the camera, the projection parameters and the
    // matrices (a pop without a push does nothing).
    virtual void PushState();
    virtual void PopState();

    cMat4 GetViewProjectionMatrix() const { return ViewMatrix * ProjectionMatrix; }
    const cMat4& GetInvViewProjectionMatrix() const { return m_InvViewProjection; }
    const cFrustum& GetFrustum() const { return m_Frustum; }
    cVec3 GetForward() const { return Orient.ToMat3().ToForward(); }
    cVec3 GetRight() const { return Orient.ToMat3().ToRight(); }
    cVec3 GetUp() const { return Orient.ToMat3().ToUp(); }

    void SetLookAtViewProjection(const cVec3& eye, const cVec3& at, float fov, const cRect& rect, float zNear,
                                 float zFar);
    void SetDXY(float dx, float dy);  // a projection offset in pixels

    bool CullPoint(const cVec3& p) const;  // behind some frustum plane
    void CalcFrustum(cFrustum* frustum) const;
    void CalcFrustum(cFrustum* frustum, float zFar) const;
    void CalcFrustum(cFrustum* frustum, float zNear, float zFar) const;

    // A ray through a point in normalised device coordinates (-1..1).
    cSeg GetPickRay(const cVec2& ndc) const;
    cSeg GetPickRayFromScreen(const cVec2& pixel) const { return GetPickRay(ScreenToNdc(pixel)); }
    cVec2 ScreenToNdc(const cVec2& pixel) const;
    // Pixel position of a world point (z: its depth); false when behind the camera.
    bool  WorldToScreen(const cVec3& p, cVec3* screen) const;
    cVec3 ScreenToWorld(const cVec3& screen) const;  // inverts WorldToScreen
    // The projection of p, moved to the closest viewport point when it falls
    // outside or behind the camera; false in those two cases.
    bool  WorldToClosestScreenPoint(const cVec3& p, cVec2* screen) const;
    // World units per pixel at p (for handles of a constant screen size).
    float PixelSizeAt(const cVec3& p) const;

private:
    struct State {
        cRect Viewport;
        float Aspect, WorkAspect;
        cMat4 ViewMatrix, ProjectionMatrix;
        cVec3 Position;
        cQuat Orient;
        float Fov, ZNear, ZFar, OrthoZoom, FixedAspect;
        bool  InfiniteFar, IsOrtho, ApplyScreenRotation;
        int   Turn;
    };
    cList<State> m_States;
    cMat4 m_InvViewProjection = cMat4::Identity;
    cFrustum m_Frustum = cFrustum::Zero;
    cVec2 m_DXY = cVec2(0, 0);
    bool  m_ApplyScreenRotation = false;
    int   m_Turn = 0;  // degrees the projection turns now: 0, -90 or 90

    cMat4 MakeProjection(float zNear, float zFar, bool infinite) const;
    cMat4 TurnMatrix() const;
};

// An orientation whose forward (-Z) is the given direction, its right level.
void cViewer_CalcOrientFromForwardDir(cQuat* orient, const cVec3& forward);

}  // namespace zozud
