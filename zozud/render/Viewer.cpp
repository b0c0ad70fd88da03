#include "zozud/render/Viewer.h"

#include <cfloat>
#include <cmath>
#include <utility>

#include "zozud/math/Mat3.h"
#include "zozud/math/Vec4.h"

namespace zozud {

namespace {
int (*s_ScreenRotationQuery)() = nullptr;
}

void cViewer::SetScreenRotationQuery(int (*query)()) { s_ScreenRotationQuery = query; }

cViewer::cViewer(const CtorArgs& args)
    : Viewport(args.Rect), Fov(args.Fov), ZNear(args.ZNear), ZFar(args.ZFar), InfiniteFar(args.InfiniteFar),
      OrthoHalfDepth(args.OrthoHalfDepth) {}

cMat4 cViewer::MakeProjection(float zNear, float zFar, bool infinite) const {
    if (IsOrtho) {
        float zoom = OrthoZoom > 0 ? OrthoZoom : 1.0f;
        float w = Viewport.GetWidth() > 0 ? Viewport.GetWidth() : 1.0f;
        float h = Viewport.GetHeight() > 0 ? Viewport.GetHeight() : 1.0f;
        if (m_Turn != 0) std::swap(w, h);
        return cMat4::Ortho(w / zoom, h / zoom, -OrthoHalfDepth, OrthoHalfDepth) * TurnMatrix();
    }
    if (infinite) return cMat4::PerspectiveInf(Fov, WorkAspect, zNear) * TurnMatrix();
    return cMat4::Perspective(Fov, WorkAspect, zNear, zFar) * TurnMatrix();
}

cMat4 cViewer::TurnMatrix() const { return m_Turn != 0 ? cMat4::RotationZ((float)m_Turn) : cMat4::Identity; }

void cViewer::Update(bool applyScreenRotation) {
    m_ApplyScreenRotation = applyScreenRotation;
    int turn = applyScreenRotation && s_ScreenRotationQuery ? s_ScreenRotationQuery() : 0;
    m_Turn = turn == 90 || turn == -90 ? turn : 0;
    float w = Viewport.GetWidth(), h = Viewport.GetHeight();
    if (m_Turn != 0) std::swap(w, h);  // the image is built upright, then turned into the viewport
    if (FixedAspect > 0) WorkAspect = FixedAspect;
    else if (w > 0 && h > 0) WorkAspect = w / h;
    if (m_States.IsEmpty()) Aspect = WorkAspect;  // inside a target pass the own aspect stays

    ProjectionMatrix = MakeProjection(ZNear, ZFar, InfiniteFar);
    if ((m_DXY.x != 0 || m_DXY.y != 0) && w > 0 && h > 0)
        ProjectionMatrix = ProjectionMatrix * cMat4::Translation(m_DXY.x / Viewport.GetWidth(), m_DXY.y / Viewport.GetHeight(), 0);

    cMat4 world(Orient.ToNormal().ToMat3(), Position);
    if (!cMat4::Invert(world, &ViewMatrix)) ViewMatrix = cMat4::Identity;
    cMat4 vp = GetViewProjectionMatrix();
    if (!cMat4::Invert(vp, &m_InvViewProjection)) m_InvViewProjection = cMat4::Identity;
    m_Frustum.FromViewProjection(vp, IsOrtho ? 0.0f : -1.0f);
}

void cViewer::PushState() {
    State s;
    s.Viewport = Viewport;
    s.Aspect = Aspect;
    s.WorkAspect = WorkAspect;
    s.ViewMatrix = ViewMatrix;
    s.ProjectionMatrix = ProjectionMatrix;
    s.Position = Position;
    s.Orient = Orient;
    s.Fov = Fov;
    s.ZNear = ZNear;
    s.ZFar = ZFar;
    s.OrthoZoom = OrthoZoom;
    s.FixedAspect = FixedAspect;
    s.InfiniteFar = InfiniteFar;
    s.IsOrtho = IsOrtho;
    s.ApplyScreenRotation = m_ApplyScreenRotation;
    s.Turn = m_Turn;
    m_States.Add(s);
}

void cViewer::PopState() {
    if (m_States.IsEmpty()) return;
    const State s = m_States.GetLast();
    m_States.RemoveAt(m_States.Count() - 1);
    Viewport = s.Viewport;
    Position = s.Position;
    Orient = s.Orient;
    Fov = s.Fov;
    ZNear = s.ZNear;
    ZFar = s.ZFar;
    OrthoZoom = s.OrthoZoom;
    FixedAspect = s.FixedAspect;
    InfiniteFar = s.InfiniteFar;
    IsOrtho = s.IsOrtho;
    m_ApplyScreenRotation = s.ApplyScreenRotation;
    m_Turn = s.Turn;
    WorkAspect = s.WorkAspect;
    // The matrices as they were, with the inverse and the frustum to match.
    ViewMatrix = s.ViewMatrix;
    ProjectionMatrix = s.ProjectionMatrix;
    cMat4 vp = GetViewProjectionMatrix();
    if (!cMat4::Invert(vp, &m_InvViewProjection)) m_InvViewProjection = cMat4::Identity;
    m_Frustum.FromViewProjection(vp, IsOrtho ? 0.0f : -1.0f);
    Aspect = s.Aspect;
}

void cViewer::SetLookAtViewProjection(const cVec3& eye, const cVec3& at, float fov, const cRect& rect, float zNear,
                                      float zFar) {
    Position = eye;
    cViewer_CalcOrientFromForwardDir(&Orient, at - eye);
    Fov = fov;
    Viewport = rect;
    ZNear = zNear;
    ZFar = zFar;
    IsOrtho = false;
    Update();
}

void cViewer::SetDXY(float dx, float dy) {
    m_DXY = cVec2(dx, dy);
    Update();
}

bool cViewer::CullPoint(const cVec3& p) const {
    for (int i = 0; i < 6; i++) {
        const cVec4& q = m_Frustum.planes[i];
        if (q.x * p.x + q.y * p.y + q.z * p.z + q.w < 0) return true;
    }
    return false;
}

void cViewer::CalcFrustum(cFrustum* frustum) const { *frustum = m_Frustum; }

void cViewer::CalcFrustum(cFrustum* frustum, float zFar) const { CalcFrustum(frustum, ZNear, zFar); }

void cViewer::CalcFrustum(cFrustum* frustum, float zNear, float zFar) const {
    cMat4 proj = MakeProjection(zNear, zFar, false);
    if (!frustum->FromViewProjection(ViewMatrix * proj, IsOrtho ? 0.0f : -1.0f)) *frustum = cFrustum::Zero;
}

cSeg cViewer::GetPickRay(const cVec2& ndc) const {
    cVec4 q = cVec4(ndc.x, ndc.y, 0, 1) * m_InvViewProjection;
    cVec3 point(q.x, q.y, q.z);
    if (q.w != 1.0f && q.w != 0) point = point * (1.0f / q.w);
    cSeg ray;
    if (IsOrtho) ray.SetFromRay(point, GetForward(), 0.001f);
    else ray.SetFromRay(point, point - Position, 0.001f);
    return ray;
}

cVec2 cViewer::ScreenToNdc(const cVec2& pixel) const {
    float w = Viewport.GetWidth(), h = Viewport.GetHeight();
    if (w <= 0 || h <= 0) return cVec2(0, 0);
    return cVec2((pixel.x - Viewport.x0) / w * 2.0f - 1.0f, (pixel.y - Viewport.y0) / h * 2.0f - 1.0f);
}

bool cViewer::WorldToScreen(const cVec3& p, cVec3* screen) const {
    cVec4 c = cVec4(p, 1) * GetViewProjectionMatrix();
    if (c.w <= 1e-6f) {
        *screen = cVec3(0, 0, 0);
        return false;
    }
    float inv = 1.0f / c.w;
    *screen = cVec3(Viewport.x0 + (c.x * inv + 1.0f) * 0.5f * Viewport.GetWidth(),
                    Viewport.y0 + (c.y * inv + 1.0f) * 0.5f * Viewport.GetHeight(), c.z * inv);
    return true;
}

cVec3 cViewer::ScreenToWorld(const cVec3& screen) const {
    cVec2 ndc = ScreenToNdc(cVec2(screen.x, screen.y));
    cVec4 q = cVec4(ndc.x, ndc.y, screen.z, 1) * m_InvViewProjection;
    if (q.w == 0) return cVec3(q.x, q.y, q.z);
    return cVec3(q.x / q.w, q.y / q.w, q.z / q.w);
}

bool cViewer::WorldToClosestScreenPoint(const cVec3& p, cVec2* screen) const {
    cVec4 c = cVec4(p, 1) * GetViewProjectionMatrix();
    cVec2 ndc;
    bool inside = c.w > 1e-6f;
    if (inside) {
        ndc = cVec2(c.x / c.w, c.y / c.w);
    } else {
        // Behind the camera: the direction on screen is reversed; push it to the edge.
        ndc = cVec2(-c.x, -c.y);
        float m = std::fmax(std::fabs(ndc.x), std::fabs(ndc.y));
        ndc = m > 0 ? ndc * (1.0f / m) : cVec2(0, -1);
    }
    if (std::fabs(ndc.x) > 1 || std::fabs(ndc.y) > 1) inside = false;
    ndc.x = std::fmin(std::fmax(ndc.x, -1.0f), 1.0f);
    ndc.y = std::fmin(std::fmax(ndc.y, -1.0f), 1.0f);
    *screen = cVec2(Viewport.x0 + (ndc.x + 1.0f) * 0.5f * Viewport.GetWidth(),
                    Viewport.y0 + (ndc.y + 1.0f) * 0.5f * Viewport.GetHeight());
    return inside;
}

float cViewer::PixelSizeAt(const cVec3& p) const {
    float h = m_Turn != 0 ? Viewport.GetWidth() : Viewport.GetHeight();  // the image's own height
    if (h <= 0) h = 1.0f;
    if (IsOrtho) return 1.0f / (OrthoZoom > 0 ? OrthoZoom : 1.0f);
    float depth = (p - Position).Dot(GetForward());
    if (depth < ZNear) depth = ZNear;
    return 2.0f * depth * std::tan(Fov * 0.5f * 0.017453292f) / h;
}

void cViewer_CalcOrientFromForwardDir(cQuat* orient, const cVec3& forward) {
    cVec3 f = forward;
    if (f.Normalize() < 1e-12f) {
        *orient = cQuat::Identity;
        return;
    }
    cVec3 right = f.Cross(cVec3(0, 1, 0));
    if (right.Normalize() < 1e-6f) right = cVec3(1, 0, 0);  // straight up or down
    cVec3 up = right.Cross(f);
    up.Normalize();
    *orient = cMat3::FromVectors(f, right, up).ToQuat();
}

}  // namespace zozud
