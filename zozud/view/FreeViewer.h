// cFreeViewer: a viewer that orbits a centre point. The camera sits
// Distance behind the centre along its forward axis (at the centre itself in
// orthographic mode). With "Alt" held the left button tumbles, the right
// dollies, the middle tracks (a second button switches to track or roll);
// the wheel moves the orbit centre along the view; the number pad picks
// standard views, "NumPad5" toggles orthographic mode and "Home" goes home.
// Drag modes: 0 idle, 1 track, 2 tumble, 3 dolly, 4 waiting for "Alt" to go
// up; the viewer holds the capture in every mode but 0.
#pragma once

#include "zozud/math/Angles.h"
#include "zozud/math/Bounds.h"
#include "zozud/render/Viewer.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

class cFreeViewer : public cViewer, public cWidget {
public:
    struct CtorArgs : cViewer::CtorArgs {
        cVec3   HomeCenter = cVec3(0, 0, 0);
        cAngles HomeAngles = cAngles(-28, 45, 0);
        float   HomeDistance = 20.0f;
        float   HomeOrthoZoom = 20.0f;
        void    SetDefaults() { *this = CtorArgs(); }
    };

    // Speeds (per pixel unless said otherwise).
    float TrackSpeed = 0.001f;
    float TumbleSpeed = 0.3f;  // degrees
    float DollySpeed = 0.2f;
    float RollSpeed = 0.3f;    // degrees
    float WheelSpeed = 1.2f;   // per wheel unit
    float OrthoZoomSpeed = 0.002f;
    float OrthoZoomLimit = 1000.0f;

    cVec3   Center = cVec3(0, 0, 0);
    float   Distance = 20.0f;
    bool    IsPlanar = false;
    cVec2   PlanarOffset = cVec2(0, 0);
    bool    InputEnabled = true;
    bool    WheelUsed = false;
    cVec3   HomeCenter;
    cAngles HomeAngles;
    float   HomeDistance, HomeOrthoZoom;

    cFreeViewer() : cFreeViewer(CtorArgs()) {}
    explicit cFreeViewer(const CtorArgs& args);

    bool OnButtonDown(int code) override;
    bool OnButtonUp(int code) override;
    bool OnMouseMove() override;
    // While it tumbles, dollies or tracks the viewer is the hot widget and
    // marks the centre it orbits with a cross.
    void OnRender() override;
    bool IsHot(bool hotFound) override;
    // Touch: pan tracks, pinch dollies, rotate rolls.
    void OnGestureDown(cGestureType::Enum type, const cVec2& pos) override;
    void OnGestureMove(const cVec2& pos, const cVec2& delta, float rotation, float scale) override;
    void OnGestureUp() override { m_Gesture = cGestureType::Unknown; }

    using cViewer::Update;
    void Update(bool applyScreenRotation) override;
    int  GetMode() const { return m_Mode; }

    void Track(const cVec2& delta);
    void Tumble(const cVec2& delta);
    void Dolly(const cVec2& delta);
    void Roll(const cVec2& delta);
    // Tumble about the camera's own up and right axes: the scene turns the
    // way the mouse goes on screen, whatever the horizon does.
    void ScreenTumble(const cVec2& delta);
    // Roll by the angle the mouse sweeps around the viewport's middle: the
    // scene turns with the pointer. The first form takes the mouse position
    // from the input layer.
    void ScreenRoll(const cVec2& delta);
    void ScreenRoll(const cVec2& delta, const cVec2& mouse);
    // Track along the plane through the centre with the given normal: the
    // plane point under the centre's pixel follows the mouse. Nothing moves
    // when the plane is seen edge-on or the mouse leaves it.
    void PlaneTrack(const cVec2& delta, const cVec3& planeNormal);
    void Aim(float wheel);
    void LookAt(const cVec3& eye, const cVec3& at);
    void OverrideCenter(const cVec3& p);  // the camera stays, it now orbits p
    void Home();
    void SnapAxis();  // the orientation snapped to the nearest axis-aligned one
    // Fits the box (transformed by matrix) into the view; an empty rect means the viewport.
    void Frame(const cBounds& bounds, const cMat4& matrix, const cRect& rect);
    void Transform(const cMat4& m);  // moves the centre and turns the orientation with m
    void HandleGesture(int type, const cVec2& delta, float scale, float rotation);
    void SetView(int view);  // 1..8: the standard views; 0 only updates
    void SetOrthoProj(int view);
    void SetPerspProj();

private:
    int m_Mode = 0;
    int m_Gesture = cGestureType::Unknown;
};

}  // namespace zozud
