// cTransform and cPosition: reflected values that the user edits in the 3D
// view with the transform tools, which they create on demand. Which tools
// appear follows g_ManipulatorsType; the move and rotate tools get the space
// g_ManipulatorsLocal. The tools are added to the widget registry, which
// owns them; the object frees them with itself. Surprise: freeing every
// widget (cWidgets::FreeAll) leaves these objects holding stale tool
// pointers; call FreeTools first.
#pragma once

#include "zozud/math/Angles.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Vec3.h"
#include "zozud/reflect/Button.h"
#include "zozud/reflect/Class.h"
#include "zozud/view/TransformTools.h"

namespace zozud {

class cTransform : public cClass {
public:
    ZOZUD_CLASS(cTransform)
    cTransform() { CallCtor(this); }
    ~cTransform() override { FreeTools(); }
    cTransform(const cTransform&) = delete;
    cTransform& operator=(const cTransform&) = delete;

    void CustomCtor() override;
    int  RegisterMembers() override;

    cVec3   Scale;
    cAngles Rotate;
    cVec3   Translate;

    // Scale first, then the rotation, then the translation.
    cMat4 ToMat4() const;
    void  SetParentTransform(const cMat4& parent) { SetParentTransform(parent, cMat4::Identity); }
    void  SetParentTransform(const cMat4& parent, const cMat4& parent2);
    void  CreateTools();
    void  FreeTools();

    cMoveTool*   GetMoveTool() const { return m_MoveTool; }
    cRotateTool* GetRotateTool() const { return m_RotateTool; }
    cScaleTool*  GetScaleTool() const { return m_ScaleTool; }

private:
    cMat4 m_Parent = cMat4::Identity, m_Parent2 = cMat4::Identity;
    cMoveTool*   m_MoveTool = nullptr;
    cRotateTool* m_RotateTool = nullptr;
    cScaleTool*  m_ScaleTool = nullptr;
};

class cPosition : public cClass {
public:
    ZOZUD_CLASS(cPosition)
    cPosition() { CallCtor(this); }
    ~cPosition() override { FreeTools(); }
    cPosition(const cPosition&) = delete;
    cPosition& operator=(const cPosition&) = delete;

    void CustomCtor() override { Position = cVec3(0, 0, 0); }
    int  RegisterMembers() override;

    cVec3 Position;

    void Move();  // the "Move" button: a fresh move tool on Position
    void SetParentTransform(const cMat4& parent) { m_Parent = parent; }
    void CreateTools();
    void FreeTools();
    cMoveTool* GetMoveTool() const { return m_MoveTool; }

private:
    cMat4 m_Parent = cMat4::Identity;
    cMoveTool* m_MoveTool = nullptr;
};

}  // namespace zozud
