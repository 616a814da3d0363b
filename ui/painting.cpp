#include "ui/painting.h"

#include "platform/timing_marks.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    const COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

void PaintLabel(HDC dc, const ControlRecord& label) {
    const RECT rect = ToRect(ControlPixelRect(label.id));
    if (label.opaque) FillSolid(dc, rect, ToColorRef(label.backColour));
    const bool bordered = g_state.borderStyle[Slot(label.id)] != 0;
    RECT textRect = rect;
    if (bordered) InflateRect(&textRect, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    SelectObject(dc, FontOf(label.font));
    SetTextColor(dc, ToColorRef(label.foreColour));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, label.caption, -1, &textRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_HIDEPREFIX);
    if (bordered) {
        RECT edge = rect;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
}

void PaintShape(HDC dc, const ControlRecord& shape) {
    const RECT rect = ToRect(ControlPixelRect(shape.id));
    const GdiObject outline(CreateSolidBrush(ToColorRef(shape.foreColour)));
    FrameRect(dc, &rect, outline.brush());
}

// The etched border with the caption set into its top edge, as a group box.
void PaintFrameBox(HDC dc, const ControlRecord& frame, const RECT& client) {
    SelectObject(dc, FontOf(frame.font));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT box = client;
    box.top = metrics.tmHeight / 2;
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);

    const int indent = TwipsToPixels(120, g_state.dpi);
    RECT caption{indent, 0, indent, metrics.tmHeight};
    DrawTextA(dc, frame.caption, -1, &caption, DT_SINGLELINE | DT_CALCRECT | DT_HIDEPREFIX);
    const int gap = TwipsToPixels(Pixels96(2), g_state.dpi);
    RECT behind{caption.left - gap, 0, caption.right + gap, metrics.tmHeight};
    FillSolid(dc, behind, ToColorRef(frame.backColour));
    SetTextColor(dc, ToColorRef(frame.foreColour));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, frame.caption, -1, &caption, DT_SINGLELINE | DT_HIDEPREFIX); // at the top left
}

} // namespace

void PaintContainer(HWND hwnd, ControlId container) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    const int saved = SaveDC(dc);
    RECT client;
    GetClientRect(hwnd, &client);
    if (container == ControlId::Client) {
        FillSolid(dc, paint.rcPaint, ToColorRef(kMainWindow.backColour));
    } else {
        const ControlRecord& frame = *FindControl(container);
        FillSolid(dc, paint.rcPaint, ToColorRef(frame.backColour));
        PaintFrameBox(dc, frame, client);
    }
    for (int i = kControlCount - 1; i >= 0; --i) {
        const ControlRecord& control = kControls[i];
        if (control.container != container) continue;
        if (control.kind == ControlKind::Label) PaintLabel(dc, control);
        if (control.kind == ControlKind::Shape) PaintShape(dc, control);
    }
    RestoreDC(dc, saved);
    EndPaint(hwnd, &paint);
    if (container == ControlId::Client) TimingMark("painted");
}
