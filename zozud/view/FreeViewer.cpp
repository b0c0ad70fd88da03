#include "zozud/view/FreeViewer.h"

#include <cfloat>
#include <cmath>

#include "zozud/math/Mat3.h"
#include "zozud/math/Math.h"
#include "zozud/render/Render.h"

namespace zozud {

cFreeViewer::cFreeViewer(const CtorArgs& args)
    : cViewer(args), HomeCenter(args.HomeCenter), HomeAngles(args.HomeAngles), HomeDistance(args.HomeDistance),
      HomeOrthoZoom(args.HomeOrthoZoom) {
    OrthoZoom = HomeOrthoZoom;
    Home();
}

void cFreeViewer::Update(bool applyScreenRotation) {
    cMat3 r = Orient.ToNormal().ToMat3();
    Position = IsOrtho ? Center : Center - r.ToForward() * Distance;
    if (IsPlanar) Position = Position + r.ToRight() * PlanarOffset.x + r.ToUp() * PlanarOffset.y;
    cViewer::Update(applyScreenRotation);
}

void cFreeViewer::Track(const cVec2& delta) {
    cVec2 d = IsOrtho ? delta * (1.0f / OrthoZoom) : delta * (TrackSpeed * (std::fabs(Distance) + 10.0f));
    if (IsPlanar) {
        PlanarOffset = PlanarOffset - d;
    } else {
        cMat3 r = Orient.ToMat3();
        Center = Center - (r.ToRight() * d.x + r.ToUp() * d.y);
    }
    Update();
}

// Pitch about the camera's own X axis first, then yaw about the world Y
// axis: the right axis stays horizontal, so the horizon stays level.
void cFreeViewer::Tumble(const cVec2& delta) {
    cQuat pitch = cMat3::RotationX(delta.y * TumbleSpeed).ToQuat();
    cQuat yaw = cMat3::RotationY(-delta.x * TumbleSpeed).ToQuat();
    Orient = (pitch * Orient * yaw).ToNormal();
    Update();
}

void cFreeViewer::Dolly(const cVec2& delta) {
    float s = delta.x - delta.y;
    if (IsOrtho) {
        OrthoZoom = std::fmin(OrthoZoom + s * OrthoZoomSpeed * OrthoZoom, OrthoZoomLimit);
        if (OrthoZoom < 1e-4f) OrthoZoom = 1e-4f;
    } else {
        Distance -= s * DollySpeed;
        if (!IsPlanar && Distance < 0) {
            Center = Center + GetForward() * -Distance;
            Distance = 0;
        }
    }
    Update();
}

void cFreeViewer::Roll(const cVec2& delta) {
    Orient = (cMat3::RotationZ((delta.x + delta.y) * RollSpeed).ToQuat() * Orient).ToNormal();
    Update();
}

// Both turns about the camera's own axes, so they multiply on the left.
void cFreeViewer::ScreenTumble(const cVec2& delta) {
    cQuat turn = (cMat3::RotationX(delta.y * TumbleSpeed) * cMat3::RotationY(-delta.x * TumbleSpeed)).ToQuat();
    Orient = (turn * Orient).ToNormal();
    Update();
}

void cFreeViewer::ScreenRoll(const cVec2& delta) { ScreenRoll(delta, cInput::GetMousePosition()); }

void cFreeViewer::ScreenRoll(const cVec2& delta, const cVec2& mouse) {
    cVec2 middle((Viewport.x0 + Viewport.x1) * 0.5f, (Viewport.y0 + Viewport.y1) * 0.5f);
    cVec2 from = mouse - delta - middle, to = mouse - middle;
    if (from.Length() < 1 || to.Length() < 1) return;  // too near the middle to tell an angle
    float swept = std::atan2(from.x * to.y - from.y * to.x, from.x * to.x + from.y * to.y) * cMath::DegsPerRad;
    // The camera turns against the sweep, so the scene follows the pointer.
    Orient = (cMat3::RotationZ(-swept).ToQuat() * Orient).ToNormal();
    Update();
}

void cFreeViewer::PlaneTrack(const cVec2& delta, const cVec3& planeNormal) {
    cVec3 n = planeNormal, pixel;
    if (n.Normalize() < 1e-9f || !WorldToScreen(Center, &pixel)) return;
    cSeg ray = GetPickRayFromScreen(cVec2(pixel.x, pixel.y) + delta);
    float along = n.Dot(ray.direction);
    if (std::fabs(along) < 1e-6f) return;
    float s = n.Dot(Center - ray.start) / along;
    if (s < 0) return;  // the plane lies behind the camera there
    // The camera moves against the point, so the point appears at the mouse.
    Center = Center - (ray.start + ray.direction * s - Center);
    Update();
}

void cFreeViewer::Aim(float wheel) {
    if (IsOrtho || IsPlanar) return;
    float d = std::fmin(std::fmax(Distance + wheel * WheelSpeed, 0.0f), FLT_MAX);
    Center = Center + GetForward() * (d - Distance);
    Distance = d;
    Update();
}

void cFreeViewer::LookAt(const cVec3& eye, const cVec3& at) {
    Center = at;
    Distance = (at - eye).Length();
    cViewer_CalcOrientFromForwardDir(&Orient, at - eye);
    PlanarOffset = cVec2(0, 0);
    Update();
}

void cFreeViewer::OverrideCenter(const cVec3& p) {
    if (IsOrtho) {
        Center = p;
        Update();
        return;
    }
    LookAt(Position, p);
}

void cFreeViewer::Home() {
    IsOrtho = false;
    Center = HomeCenter;
    Orient = HomeAngles.ToQuat();
    Distance = HomeDistance;
    PlanarOffset = cVec2(0, 0);
    IsPlanar = false;
    WheelUsed = false;
    Update();
}

void cFreeViewer::SnapAxis() {
    static const cVec3 axes[6] = {cVec3(1, 0, 0), cVec3(-1, 0, 0), cVec3(0, 1, 0),
                                  cVec3(0, -1, 0), cVec3(0, 0, 1), cVec3(0, 0, -1)};
    cMat3 r = Orient.ToMat3();
    cVec3 forward = r.ToForward(), up = r.ToUp();
    int fi = 0, ui = -1;
    for (int i = 1; i < 6; i++)
        if (axes[i].Dot(forward) > axes[fi].Dot(forward)) fi = i;
    for (int i = 0; i < 6; i++) {
        if (i / 2 == fi / 2) continue;
        if (ui < 0 || axes[i].Dot(up) > axes[ui].Dot(up)) ui = i;
    }
    cVec3 right = axes[fi].Cross(axes[ui]);
    Orient = cMat3::FromVectors(axes[fi], right, axes[ui]).ToQuat();
    Update();
}

void cFreeViewer::Frame(const cBounds& bounds, const cMat4& matrix, const cRect& rect) {
    if (bounds.IsEmpty()) return;
    cBounds box = cBounds::Transform(bounds, matrix);
    float radius = std::fmax(box.GetRadius(), 1e-3f);
    Center = box.GetCenter();
    PlanarOffset = cVec2(0, 0);
    cRect r = rect.IsEmpty() || rect.GetWidth() <= 0 ? Viewport : rect;
    float w = r.GetWidth() > 0 ? r.GetWidth() : 1.0f, h = r.GetHeight() > 0 ? r.GetHeight() : 1.0f;
    if (IsOrtho) {
        OrthoZoom = std::fmin(std::fmin(w, h) / (2.0f * radius), OrthoZoomLimit);
    } else {
        // The sphere around the box inside the narrower of the two fields of view.
        float halfV = Fov * 0.5f * cMath::RadsPerDeg;
        float halfH = std::atan(std::tan(halfV) * w / h);
        Distance = radius / std::sin(std::fmin(halfV, halfH));
    }
    Update();
}

void cFreeViewer::Transform(const cMat4& m) {
    Center = cVec3::TransformCoordinate(Center, m);
    Orient = (Orient * m.ToQuat()).ToNormal();
    Update();
}

void cFreeViewer::HandleGesture(int type, const cVec2& delta, float scale, float rotation) {
    if (type == cGestureType::Pan) Track(delta);
    else if (type == cGestureType::Pinch) Dolly(cVec2((scale - 1.0f) * 100.0f, 0));
    else if (type == cGestureType::Rotate) Roll(cVec2(rotation / RollSpeed, 0));
}

void cFreeViewer::SetView(int view) {
    struct Axes { cVec3 forward, right, up; };
    static const Axes views[8] = {
        {cVec3(-1, 0, 0), cVec3(0, 0, -1), cVec3(0, 1, 0)}, {cVec3(0, -1, 0), cVec3(0, 0, 1), cVec3(1, 0, 0)},
        {cVec3(0, 0, -1), cVec3(1, 0, 0), cVec3(0, 1, 0)},  {cVec3(1, 0, 0), cVec3(0, 0, 1), cVec3(0, 1, 0)},
        {cVec3(0, 1, 0), cVec3(0, 0, 1), cVec3(-1, 0, 0)},  {cVec3(0, 0, 1), cVec3(-1, 0, 0), cVec3(0, 1, 0)},
        {cVec3(0, -1, 0), cVec3(1, 0, 0), cVec3(0, 0, -1)}, {cVec3(0, 1, 0), cVec3(1, 0, 0), cVec3(0, 0, 1)},
    };
    if (view >= 1 && view <= 8) {
        const Axes& a = views[view - 1];
        Orient = cMat3::FromVectors(a.forward, a.right, a.up).ToQuat();
        PlanarOffset = cVec2(0, 0);
    }
    Update();
}

void cFreeViewer::SetOrthoProj(int view) {
    IsOrtho = true;
    if (view != 0) {
        OrthoZoom = HomeOrthoZoom;
        SetView(view);
    } else {
        Update();
    }
}

void cFreeViewer::SetPerspProj() {
    IsOrtho = false;
    Update();
}

bool cFreeViewer::OnButtonDown(int code) {
    if (!cWidgets::IsCaptured(this)) {
        if (!InputEnabled) return false;
        switch (code) {
        case cInput::NumPad2: SetView(3); return true;
        case cInput::NumPad8: SetView(6); return true;
        case cInput::NumPad4: SetView(4); return true;
        case cInput::NumPad6: SetView(1); return true;
        case cInput::NumPad7: SetView(2); return true;
        case cInput::NumPad1: SetView(5); return true;
        case cInput::NumPad5:
            if (IsOrtho) SetPerspProj();
            else SetOrthoProj(0);
            return true;
        case cInput::Home: Home(); return true;
        default: break;
        }
        if (!cInput::IsDown(cInput::Alt)) return false;
        if (cWidgets::IsCaptured()) return false;  // another widget drags
    }
    if (m_Mode != 0 && m_Mode != 4) return true;  // one drag at a time
    if (code == cInput::WheelUp || code == cInput::WheelDown) {
        float wheel = cInput::GetWheelDelta();
        if (wheel == 0) wheel = code == cInput::WheelUp ? 1.0f : -1.0f;
        if (!IsOrtho && !IsPlanar) {
            Aim(wheel);
            WheelUsed = true;
        }
        m_Mode = 4;
        cWidgets::SetCapture(this);
        return true;
    }
    int mode = code == cInput::LeftButton ? 2 : code == cInput::RightButton ? 3 : code == cInput::MiddleButton ? 1 : 0;
    if (!mode) return false;
    m_Mode = mode;
    cWidgets::SetCapture(this);
    return true;
}

bool cFreeViewer::OnMouseMove() {
    if (!cWidgets::IsCaptured(this)) return false;
    cVec2 d = cInput::GetMouseDelta();
    if (GetScreenTurn() != 0) d = cInput::GetDeltaOrient(d);  // in the turned image's own directions
    if (m_Mode == 2) {
        if (cInput::IsDown(cInput::RightButton)) Track(d);
        else if (cInput::IsDown(cInput::MiddleButton)) Roll(d);
        else Tumble(d);
    } else if (m_Mode == 3) {
        if (cInput::IsDown(cInput::LeftButton)) Track(d);
        else if (cInput::IsDown(cInput::MiddleButton)) Roll(d);
        else Dolly(d);
    } else if (m_Mode == 1) {
        Track(d);
    }
    return true;
}

void cFreeViewer::OnRender() {
    if (m_Mode < 1 || m_Mode > 3) return;
    cRender::DrawCrossHair(Center, PixelSizeAt(Center) * 12.0f, cColor(1, 1, 1, 1));
}

bool cFreeViewer::IsHot(bool hotFound) {
    (void)hotFound;
    return m_Mode >= 1 && m_Mode <= 3;
}

void cFreeViewer::OnGestureDown(cGestureType::Enum type, const cVec2& pos) {
    (void)pos;
    m_Gesture = InputEnabled && !cWidgets::IsCaptured() ? type : cGestureType::Unknown;
}

void cFreeViewer::OnGestureMove(const cVec2& pos, const cVec2& delta, float rotation, float scale) {
    (void)pos;
    if (m_Gesture != cGestureType::Unknown) HandleGesture(m_Gesture, delta, scale, rotation);
}

bool cFreeViewer::OnButtonUp(int code) {
    if (!cWidgets::IsCaptured(this)) return false;
    if (m_Mode == 0) {
        cWidgets::ReleaseCapture();
        return true;
    }
    if (m_Mode == 4) {
        if (code == cInput::Alt) {
            m_Mode = 0;
            cWidgets::ReleaseCapture();
        }
        return true;
    }
    static const int endCode[4] = {-1, cInput::MiddleButton, cInput::LeftButton, cInput::RightButton};
    if (code != endCode[m_Mode]) return true;
    m_Mode = cInput::IsDown(cInput::Alt) ? 4 : 0;
    if (m_Mode == 0) cWidgets::ReleaseCapture();
    return true;
}

}  // namespace zozud
