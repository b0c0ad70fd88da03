// cEdit: the single-line edit field over a bound int, float or string. The
// buffer shows the value; a click captures the input and starts editing;
// "Enter" (or "(A)", "Start"), "Tab", "Up", "Down" and a click outside
// commit the buffer to the value, "Esc" drops it. Numbers that do not parse
// leave the value alone; numbers are clamped to the optional bounds. A
// committed change sends message 6 (int), 7 (float) or 8 (string) with the
// old and new value. Two fields may be linked as the ends of a range
// (SetSiblings): committing one pushes the other out of its way.
// Prec is the number of decimals with which the framework writes floats, in
// edit fields and in saved files (the member wrappers own the number).
// Positions (cursor, selection) count bytes: typed and pasted text is kept
// to the characters the font prints, one byte each below 128.
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/core/List.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/widgets/Control.h"

namespace zozud {

class cEdit : public cControl {
public:
    static constexpr int   Prec = cWrappers_FloatPrec;
    static constexpr float Epsilon = 0.001f;

    cEdit(cWnd* parent, int* value, const char* caption, float x, float y, int width, bool visible = true, bool enabled = true);
    cEdit(cWnd* parent, float* value, const char* caption, float x, float y, int width, bool visible = true, bool enabled = true);
    cEdit(cWnd* parent, cStr* value, const char* caption, float x, float y, int width, bool visible = true, bool enabled = true);

    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    bool OnMouseMove() override;
    bool OnChar(int ch, int key) override;
    void OnRender() override;
    bool OnSetCursor(cInput::Cursor::Enum* cursor) override;
    void OnTabStop() override;
    int  GetType() const override { return 5; }

    void SetBufferFromValue();
    void SetValueFromBuffer();
    void Clamp();
    void Unbind() { m_Int = nullptr; m_Float = nullptr; m_Str = nullptr; }
    void SetMinMax(const int* min, const int* max) { m_MinInt = min; m_MaxInt = max; Clamp(); }
    void SetMinMax(const float* min, const float* max) { m_MinFloat = min; m_MaxFloat = max; Clamp(); }
    void SetSiblings(cEdit* lower, cEdit* upper) { m_Lower = lower; m_Upper = upper; }
    void SetReadOnly(bool on) { m_ReadOnly = on; }
    bool IsReadOnly() const { return m_ReadOnly; }
    bool IsEditing() { return cWidgets::IsCaptured(this); }

    const cStr& GetBuffer() const { return m_Buffer; }
    int  GetCursor() const { return m_Cursor; }
    int  GetSelStart() const { return m_Anchor < m_Cursor ? m_Anchor : m_Cursor; }
    int  GetSelLength() const { return m_Anchor < m_Cursor ? m_Cursor - m_Anchor : m_Anchor - m_Cursor; }
    void SelectAll() { m_Anchor = 0; m_Cursor = m_Buffer.Length(); }
    int  ToCarriagePos(float x);  // the gap between characters nearest to x
    bool Undo();                  // false with nothing to undo

private:
    void Init();
    void StartEditing();
    void StopEditing(bool commit);
    void RecordUndo();
    void DeleteSelection();
    void Insert(const cStr& text);
    void MoveCursor(int to, bool extend);
    void NotifySibling();
    void SetNumber(float value);  // through the bound type
    float TextX(int pos);         // screen x of the gap before byte pos

    int*   m_Int = nullptr;
    float* m_Float = nullptr;
    cStr*  m_Str = nullptr;
    const int *m_MinInt = nullptr, *m_MaxInt = nullptr;
    const float *m_MinFloat = nullptr, *m_MaxFloat = nullptr;
    cEdit *m_Lower = nullptr, *m_Upper = nullptr;
    cStr  m_Buffer;
    int   m_Cursor = 0, m_Anchor = 0;
    bool  m_ReadOnly = false, m_Dragging = false;
    cList<cStr> m_Undo;
    float m_EditTimeSec = 0;
};

}  // namespace zozud
