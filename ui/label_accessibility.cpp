#include "ui/label_accessibility.h"

#include "ui/accessibility.h"
#include "ui/main_window.h"
#include "ui/oleacc_functions.h"
#include "ui/window_state.h"

static_assert(kButtonLabel.role == ROLE_SYSTEM_PUSHBUTTON && kLinkLabel.role == ROLE_SYSTEM_LINK &&
                  kTextLabel.role == ROLE_SYSTEM_STATICTEXT && kLinkLabel.state == STATE_SYSTEM_LINKED &&
                  kTextLabel.state == STATE_SYSTEM_READONLY,
              "the layout's roles and states are oleacc's");

HRESULT AnswerLong(VARIANT* out, LONG value) {
    *out = VARIANT{};
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

HRESULT LabelName(const ControlRecord& label, BSTR* name) {
    return ToBstr(AccessibleName(label).c_str(), name);
}

HRESULT LabelRole(const ControlRecord& label, VARIANT* role) { return AnswerLong(role, label.access.role); }

HRESULT LabelState(const ControlRecord& label, VARIANT* state) {
    const bool enabled = IsWindowEnabled(ContainerWindow(ControlId::Client));
    return AnswerLong(state, label.access.state | (enabled ? 0 : STATE_SYSTEM_UNAVAILABLE));
}

HRESULT LabelDefaultAction(const ControlRecord& label, BSTR* action) {
    return label.access.defaultAction ? ToBstr(label.access.defaultAction, action) : DISP_E_MEMBERNOTFOUND;
}

HRESULT LabelLocation(const ControlRecord& label, LONG* left, LONG* top, LONG* width, LONG* height) {
    const PixelRect r = ControlPixelRect(label.id);
    POINT corner{r.left, r.top};
    ClientToScreen(ContainerWindow(label.container), &corner);
    *left = corner.x, *top = corner.y, *width = r.right - r.left, *height = r.bottom - r.top;
    return S_OK;
}

HRESULT DoLabelDefaultAction(const ControlRecord& label) {
    if (!label.access.defaultAction) return DISP_E_MEMBERNOTFOUND;
    const HWND main = ContainerWindow(ControlId::Client);
    if (!IsWindowEnabled(main)) return E_FAIL; // a box is up
    return PostMessageA(main, kLabelActionMessage, static_cast<WPARAM>(label.id), 0) ? S_OK : E_FAIL;
}
