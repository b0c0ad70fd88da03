// cEdit: buffer, cursor, selection, clipboard and undo of an edit field.
#include "zozud/widgets/Edit.h"

#include "zozud/core/Timer.h"
#include "zozud/io/IO.h"
#include "zozud/render/Render.h"
#include "zozud/widgets/Form.h"

namespace zozud {

namespace {

const float TextPadding = 3;

// The font the field measures and filters with; looked up once.
int EditFont() {
    static int font = cRender::GetFontID("Tahoma 8");
    return font;
}

// Keeps the characters the font prints, one byte each.
cStr Printable(const cStr& text) {
    cStr kept = text;
    if (EditFont() >= 0) cRender::EnsurePrintable(EditFont(), &kept);
    cStr out;
    for (int i = 0; i < kept.Length(); i++) {
        unsigned char c = (unsigned char)kept[i];
        if (c >= 32 && c < 127) out += (char)c;
    }
    return out;
}

bool IsForwardKey(int key) {
    return key == cInput::Tab || key == cInput::Down || key == cInput::LeftThumbDown || key == cInput::RightThumbDown;
}
bool IsBackwardKey(int key) { return key == cInput::Up || key == cInput::LeftThumbUp || key == cInput::RightThumbUp; }

}  // namespace

cEdit::cEdit(cWnd* parent, int* value, const char* caption, float x, float y, int width, bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Int(value) { Init(); }
cEdit::cEdit(cWnd* parent, float* value, const char* caption, float x, float y, int width, bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Float(value) { Init(); }
cEdit::cEdit(cWnd* parent, cStr* value, const char* caption, float x, float y, int width, bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Str(value) { Init(); }

void cEdit::Init() {
    m_TabStop = true;
    SetBufferFromValue();
}

// ---- Value and buffer ----

void cEdit::SetBufferFromValue() {
    if (m_Int) m_Buffer = cStr::Format("%d", *m_Int);
    else if (m_Float) m_Buffer = cStr::Format(cStr::Format("%%.%df", Prec), *m_Float);
    else if (m_Str) m_Buffer = *m_Str;
    if (m_Cursor > m_Buffer.Length()) m_Cursor = m_Buffer.Length();
    if (m_Anchor > m_Buffer.Length()) m_Anchor = m_Buffer.Length();
}

void cEdit::SetNumber(float value) {
    if (m_Int) *m_Int = (int)value;
    else if (m_Float) *m_Float = value;
}

void cEdit::Clamp() {
    if (m_Int) {
        int v = *m_Int;
        if (m_MaxInt && v > *m_MaxInt) v = *m_MaxInt;
        if (m_MinInt && v < *m_MinInt) v = *m_MinInt;
        if (v != *m_Int) { *m_Int = v; SetBufferFromValue(); }
    } else if (m_Float) {
        float v = *m_Float;
        if (m_MaxFloat && v > *m_MaxFloat) v = *m_MaxFloat;
        if (m_MinFloat && v < *m_MinFloat) v = *m_MinFloat;
        if (v != *m_Float) { *m_Float = v; SetBufferFromValue(); }
    }
}

void cEdit::SetValueFromBuffer() {
    if (m_Int) {
        int v;
        if (!cStr::ToInt(m_Buffer, &v)) return;
        if (m_MaxInt && v > *m_MaxInt) v = *m_MaxInt;
        if (m_MinInt && v < *m_MinInt) v = *m_MinInt;
        int old = *m_Int;
        if (v == old) return;
        *m_Int = v;
        NotifySibling();
        Notify(6, &old, &v);
    } else if (m_Float) {
        float v;
        if (!cStr::ToFloat(m_Buffer, &v)) return;
        if (m_MaxFloat && v > *m_MaxFloat) v = *m_MaxFloat;
        if (m_MinFloat && v < *m_MinFloat) v = *m_MinFloat;
        float old = *m_Float;
        if (v == old) return;
        *m_Float = v;
        NotifySibling();
        Notify(7, &old, &v);
    } else if (m_Str) {
        if (m_Buffer == *m_Str) return;
        cStr old = *m_Str;
        *m_Str = m_Buffer;
        Notify(8, &old, &m_Buffer);
    }
}

// The ends of a range never cross: the other end moves out of the way.
void cEdit::NotifySibling() {
    if (m_Int) {
        if (m_Upper && m_Upper->m_Int && *m_Upper->m_Int <= *m_Int) {
            *m_Upper->m_Int = *m_Int + 1;
            m_Upper->SetBufferFromValue();
        } else if (m_Lower && m_Lower->m_Int && *m_Lower->m_Int >= *m_Int) {
            *m_Lower->m_Int = *m_Int - 1;
            m_Lower->SetBufferFromValue();
        }
    } else if (m_Float) {
        if (m_Upper && m_Upper->m_Float && *m_Upper->m_Float < *m_Float + Epsilon) {
            *m_Upper->m_Float = *m_Float + Epsilon;
            m_Upper->SetBufferFromValue();
        } else if (m_Lower && m_Lower->m_Float && *m_Lower->m_Float > *m_Float - Epsilon) {
            *m_Lower->m_Float = *m_Float - Epsilon;
            m_Lower->SetBufferFromValue();
        }
    }
}

// ---- Editing ----

void cEdit::StartEditing() {
    if (!IsEditing()) SetBufferFromValue();
    SetFocus(this);
    cWidgets::SetCapture(this);
    m_EditTimeSec = cTimer::GetTimeSec();
}

void cEdit::StopEditing(bool commit) {
    if (commit) {
        SetValueFromBuffer();
        m_Undo.Clear();
    }
    SetBufferFromValue();
    m_Anchor = m_Cursor;
    m_Dragging = false;
    if (IsEditing()) cWidgets::ReleaseCapture();
}

void cEdit::RecordUndo() {
    m_Undo.Add(m_Buffer);
    m_EditTimeSec = cTimer::GetTimeSec();
}

bool cEdit::Undo() {
    if (m_Undo.IsEmpty()) return false;
    m_Buffer = m_Undo.GetLast();
    m_Undo.RemoveAt(m_Undo.Count() - 1);
    if (m_Cursor > m_Buffer.Length()) m_Cursor = m_Buffer.Length();
    m_Anchor = m_Cursor;
    m_EditTimeSec = cTimer::GetTimeSec();
    return true;
}

void cEdit::DeleteSelection() {
    int start = GetSelStart(), length = GetSelLength();
    if (length > 0) m_Buffer.Remove(start, length);
    m_Cursor = m_Anchor = start;
}

void cEdit::Insert(const cStr& text) {
    DeleteSelection();
    m_Buffer.Insert(m_Cursor, text);
    m_Cursor += text.Length();
    m_Anchor = m_Cursor;
}

void cEdit::MoveCursor(int to, bool extend) {
    if (to < 0) to = 0;
    if (to > m_Buffer.Length()) to = m_Buffer.Length();
    m_Cursor = to;
    if (!extend) m_Anchor = to;
}

float cEdit::TextX(int pos) {
    float x = GetFieldRect().x0 + TextPadding;
    if (pos <= 0) return x;
    cStr head(m_Buffer);
    head.SetLength(pos);
    if (EditFont() < 0) return x + 7.0f * pos;
    return x + cRender::MeasureStringCells(EditFont(), head).GetWidth();
}

int cEdit::ToCarriagePos(float x) {
    int best = 0;
    float bestDistance = -1;
    for (int pos = 0; pos <= m_Buffer.Length(); pos++) {
        float d = x - TextX(pos);
        if (d < 0) d = -d;
        if (bestDistance < 0 || d < bestDistance) { best = pos; bestDistance = d; }
    }
    return best;
}

// ---- Input ----

bool cEdit::OnButtonDown(int button) {
    bool editing = IsEditing();
    if (button == cInput::LeftButton) {
        if (!MouseOverClient() || !IsUsable()) {
            if (editing) StopEditing(true);  // a click elsewhere commits and goes on to its target
            return editing ? false : cWnd::OnButtonDown(button);
        }
        bool extend = editing && cInput::IsDown(cInput::Shift);
        StartEditing();
        if (cInput::IsDoubleClick()) {
            SelectAll();
        } else {
            MoveCursor(ToCarriagePos(cInput::GetMousePosition().x), extend);
            m_Dragging = true;
        }
        return true;
    }
    if (!editing) return cWnd::OnButtonDown(button);
    bool shift = cInput::IsDown(cInput::Shift), control = cInput::IsDown(cInput::Control);
    switch (button) {
    case cInput::Enter: case cInput::ButtonA: case cInput::Start: StopEditing(true); break;
    case cInput::Esc: StopEditing(false); break;
    case cInput::Home: MoveCursor(0, shift); break;
    case cInput::End: MoveCursor(m_Buffer.Length(), shift); break;
    case cInput::A: if (control) SelectAll(); break;
    case cInput::C:
        if (control && GetSelLength() > 0) {
            cStr part;
            part.Append(m_Buffer, GetSelStart(), GetSelLength());
            cIO::CopyToClipboard(part);
        }
        break;
    case cInput::X:
        if (control && GetSelLength() > 0 && !m_ReadOnly) {
            cStr part;
            part.Append(m_Buffer, GetSelStart(), GetSelLength());
            cIO::CopyToClipboard(part);
            RecordUndo();
            DeleteSelection();
        }
        break;
    default: break;
    }
    return cInput::IsKeyboardCode(button) || cInput::IsGamepadCode(button);
}

bool cEdit::OnButtonUp(int button) {
    if (!IsEditing()) return cWnd::OnButtonUp(button);
    if (button == cInput::LeftButton) m_Dragging = false;
    return true;
}

bool cEdit::OnMouseMove() {
    if (!IsEditing()) return cWnd::OnMouseMove();
    if (m_Dragging) MoveCursor(ToCarriagePos(cInput::GetMousePosition().x), true);
    return true;
}

bool cEdit::OnChar(int ch, int key) {
    if (!IsEditing()) return cWnd::OnChar(ch, key);
    bool shift = cInput::IsDown(cInput::Shift), control = cInput::IsDown(cInput::Control);
    if (IsForwardKey(key) || IsBackwardKey(key)) {
        StopEditing(true);
        GetTopLevelParent()->GoTab(IsForwardKey(key) && !(key == cInput::Tab && shift));
        return true;
    }
    switch (key) {
    case cInput::Left: MoveCursor(m_Cursor - 1, shift); return true;
    case cInput::Right: MoveCursor(m_Cursor + 1, shift); return true;
    case cInput::Home: case cInput::End: return true;  // handled as button presses
    case cInput::BackSpace: case cInput::Delete:
        if (m_ReadOnly) return true;
        if (GetSelLength() == 0) {
            int at = key == cInput::BackSpace ? m_Cursor - 1 : m_Cursor;
            if (at < 0 || at >= m_Buffer.Length()) return true;
            m_Anchor = at;
            m_Cursor = at + 1;
        }
        RecordUndo();
        DeleteSelection();
        return true;
    default: break;
    }
    if (control) {
        if (key == cInput::V && !m_ReadOnly) {
            cStr pasted;
            if (cIO::CopyFromClipboard(&pasted)) {
                RecordUndo();
                Insert(Printable(pasted));
            }
        } else if (key == cInput::Z && !m_ReadOnly) {
            Undo();
        }
        return true;
    }
    if (ch >= 32 && ch < 127 && !m_ReadOnly) {
        cStr typed;
        typed += (char)ch;
        typed = Printable(typed);
        if (typed.Length() > 0) {
            RecordUndo();
            Insert(typed);
        }
    }
    return true;
}

void cEdit::OnTabStop() {
    if (!IsUsable() || m_ReadOnly) return;
    StartEditing();
    SelectAll();
}

bool cEdit::OnSetCursor(cInput::Cursor::Enum* cursor) {
    if (!MouseOverClient() && !IsEditing()) return cWnd::OnSetCursor(cursor);
    *cursor = cInput::Cursor::IBeam;
    return true;
}

// ---- Painting ----

void cEdit::OnRender() {
    PaintCaption();
    cRect field = GetFieldRect();
    bool editing = IsEditing();
    Paint(cTheme::Parts::Edit, field, m_Buffer, editing ? 1.0f : 0.0f);
    if (!editing) return;
    if (GetSelLength() > 0)
        Paint(cTheme::Parts::EditSelection,
              cRect(TextX(GetSelStart()), field.y0 + 2, TextX(GetSelStart() + GetSelLength()), field.y1 - 2), nullptr);
    // The caret blinks from the last edit, so it is steady while typing.
    float since = cTimer::GetTimeSec() - m_EditTimeSec;
    if ((int)(since * 2) % 2 == 0) {
        float x = TextX(m_Cursor);
        Paint(cTheme::Parts::EditCaret, cRect(x, field.y0 + 2, x + 1, field.y1 - 2), nullptr);
    }
}

}  // namespace zozud
