// Transform tools: widgets that move, rotate and scale the caller's own
// variables (a position, an orientation as angles, a scale) in the 3D view
// of the current viewer (cRender::GetViewer). The bound values live in the
// space of a parent matrix (SetParent); the tool's axes are the world's or
// the object's own (cSpace).
// Pressing: the left button starts a drag on the element under the mouse;
// the middle button repeats the last drag's mode when this tool made it
// (g_RepeatManipulator); only the button that started a drag ends it.
// Shape parameters (Init): First is the size in pixels (move and scale: the
// axis length; rotate: the diameter of the outer ring); Second the handles'
// share of it (move and scale: cones, cubes and the centre; rotate: the
// radius of the axis rings); Third for move and scale the |cos| above which
// an axis seen end-on is neither drawn nor picked, for rotate the picking
// tolerance as a share of the ring radius.
// While dragging, a tool writes the value it changes beside the pointer (the
// position, the angle turned, the scale) with as many decimals as the
// snapping step has (two without snapping, one for angles).
// Shown together (SetCombined), the centre and the shafts are the move
// tool's, the scale tool keeps its cubes beyond the cones, and the rotate
// rings give way where they cross the axes.
#pragma once

#include "zozud/core/Str.h"

#include "zozud/math/Angles.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

class cViewer;

struct cSpace {
    enum Enum { World = 0, Local = 1 };
};

// Process-wide choices of the tools (the settings bind to these).
extern int   g_ManipulatorsType;   // 1 move, 2 rotate, 3 scale, 4 all three together
extern int   g_ManipulatorsLocal;  // cSpace::Enum given to new move and rotate tools
extern float g_ManipulatorsSnap;   // step of the move and scale tools; 0 no snapping

// The last drag: which tool, in which mode, and what it has done so far,
// enough to do it again to other values. Both sums are zeroed by a press
// and written at every step of the drag:
//   move    Accum0 the translation in the parent's space (the position's own);
//           Accum1 the same translation in world space
//   rotate  Accum0.x the angle turned, in degrees (y and z 0);
//           Accum1 the unit axis it turned about, in the parent's space
//   scale   Accum0 the factor on each axis (1 where the mode leaves it);
//           Accum1 the change of the scale, snapped as stored
struct cRepeatManipulator {
    const cWidget* Tool = nullptr;  // compared, never followed: it may be gone
    int   Mode = 0;
    cVec3 Accum0 = cVec3(0, 0, 0);
    cVec3 Accum1 = cVec3(0, 0, 0);
};
extern cRepeatManipulator g_RepeatManipulator;

class cTransformTool : public cWidget {
public:
    static constexpr int Layer = 1;  // the widget layer of the tools that cTransform and cPosition create

    struct Mode {
        enum Enum { None = 0, X, Y, Z, XY, YZ, ZX, Free };
    };

    bool OnButtonDown(int code) override;
    bool OnButtonUp(int code) override;
    bool OnMouseMove() override;
    bool IsHot(bool hot) override;

    void SetSpace(cSpace::Enum space) { m_Space = space; }
    cSpace::Enum GetSpace() const { return m_Space; }
    void SetParent(const cMat4& parent) { m_Parent = parent; m_Parent2 = cMat4::Identity; }
    void SetParent(const cMat4& parent, const cMat4& parent2) { m_Parent = parent; m_Parent2 = parent2; }
    void SetCombined(bool on) { m_Combined = on; }
    int  GetMode() const { return m_Mode; }
    int  GetHotMode() const { return m_HotMode; }

    // Places the tool for this frame: origin, axes and size in world units.
    // False without a viewer.
    bool CalcFrame();
    // The element under a pixel of the viewer's viewport.
    virtual int CalcMode(const cVec2& pixel) = 0;
    // Starts a drag in the given mode from the current mouse position.
    void ContinueMode(int mode);

    // The text written beside the tool during a drag; empty while idle.
    virtual cStr GetDragText() const = 0;

    cVec3 GetOrigin() const { return m_Origin; }
    cVec3 GetAxis(int i) const { return m_Axes[i]; }
    float GetSize() const { return m_Size; }

protected:
    cAngles* m_Orient = nullptr;
    cVec3*   m_Position = nullptr;
    cVec3*   m_Scale = nullptr;
    cSpace::Enum m_Space = cSpace::World;
    cMat4 m_Parent = cMat4::Identity, m_Parent2 = cMat4::Identity;
    int   m_Mode = 0, m_PrevMode = 0, m_HotMode = 0, m_Button = -1;
    bool  m_Combined = false;
    float m_First = 0, m_Second = 0, m_Third = 0;

    // The frame of this render or drag.
    cViewer* m_Viewer = nullptr;
    cVec3 m_Origin, m_Axes[3];
    float m_Size = 1;

    // The drag's start.
    cVec2   m_StartMouse;
    cVec3   m_StartPosition, m_StartScale, m_StartHit;
    // Where the drag began: the drag measures from there while the frames
    // drawn meanwhile move the tool with the value.
    cVec3   m_StartOrigin;
    const cVec3& DragOrigin() const { return m_Mode ? m_StartOrigin : m_Origin; }
    cAngles m_StartOrient;

    cMat4 GetParentMatrix() const { return m_Parent * m_Parent2; }
    virtual void BeginDrag() = 0;
    virtual void Drag(const cVec2& pixel) = 0;
    // Picking helpers: the axis i or a plane hit by the pixel's ray.
    bool  AxisParam(int axis, const cVec2& pixel, float* t) const;
    bool  PlaneHit(const cVec3& normal, const cVec2& pixel, cVec3* hit) const;
    float PixelDistanceToSegment(const cVec2& pixel, const cVec3& a, const cVec3& b) const;
    bool  AxisVisible(int axis) const;
    cVec3 ModeDirection(int mode) const;  // the axis or the plane normal
    // The centre handle (when asked), else the nearest visible axis within
    // reach of its part from the share `from` of its length to the tip, else 0.
    int   PickCentreOrAxis(const cVec2& pixel, bool centre, float from) const;
    static void Snap(cVec3* v, const bool changed[3]);
    // Decimals that show the snapping step (two without one), and the values
    // written with them, separated by commas.
    static int  SnapDecimals();
    static cStr FormatValues(const float* values, int count, int decimals);
    void DrawDragText() const;
};

class cMoveTool : public cTransformTool {
public:
    explicit cMoveTool(cVec3* position) { Init(); Bind(position); }
    cMoveTool(cAngles* orient, cVec3* position, cSpace::Enum space) { Init(); Bind(orient, position, space); }
    void Init() { m_First = 78; m_Second = 0.12f; m_Third = 0.98f; }
    void Bind(cVec3* position) { m_Orient = nullptr; m_Position = position; }
    void Bind(cAngles* orient, cVec3* position, cSpace::Enum space) { m_Orient = orient; m_Position = position; m_Space = space; }
    int  CalcMode(const cVec2& pixel) override;
    void OnRender() override;
    cStr GetDragText() const override;

protected:
    void BeginDrag() override;
    void Drag(const cVec2& pixel) override;
};

class cRotateTool : public cTransformTool {
public:
    cRotateTool(cAngles* orient, cVec3* position, cSpace::Enum space) { Init(); Bind(orient, position, space); }
    void Init() { m_First = 120; m_Second = 0.86f; m_Third = 0.08f; }
    void Bind(cAngles* orient, cVec3* position, cSpace::Enum space) { m_Orient = orient; m_Position = position; m_Space = space; }
    int  CalcMode(const cVec2& pixel) override;
    void OnRender() override;
    cStr GetDragText() const override;

protected:
    float m_StartAngle = 0, m_Angle = 0;
    void  BeginDrag() override;
    void  Drag(const cVec2& pixel) override;
    float ScreenAngle(const cVec2& pixel) const;
};

class cScaleTool : public cTransformTool {
public:
    // Combined with the move tool: the share of the axis where the scale
    // tool's part begins, beyond the move tool's cones (78 of 90 pixels).
    static constexpr float CombinedFrom = 0.88f;
    cScaleTool(cVec3* scale, cAngles* orient, cVec3* position) { Init(); Bind(scale, orient, position); }
    void Init() { m_First = 90; m_Second = 0.12f; m_Third = 0.98f; }
    void Bind(cVec3* scale, cAngles* orient, cVec3* position) { m_Scale = scale; m_Orient = orient; m_Position = position; m_Space = cSpace::Local; }
    int  CalcMode(const cVec2& pixel) override;
    void OnRender() override;
    cStr GetDragText() const override;

protected:
    void BeginDrag() override;
    void Drag(const cVec2& pixel) override;
};

}  // namespace zozud
