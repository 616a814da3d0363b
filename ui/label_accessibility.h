// What a label answers a screen reader, from its record in the layout, at the
// window's scale and in its present state. Each answer is an HRESULT as
// IAccessible gives it (see accessibility.cpp, which hands the questions on).
#pragma once

#include <windows.h>

#include <oleacc.h>

#include "ui/layout.h"

HRESULT LabelName(const ControlRecord& label, BSTR* name);
HRESULT LabelRole(const ControlRecord& label, VARIANT* role);
// While a box is up the window takes no input, and no label acts.
HRESULT LabelState(const ControlRecord& label, VARIANT* state);
HRESULT LabelDefaultAction(const ControlRecord& label, BSTR* action);
// Its place on the screen.
HRESULT LabelLocation(const ControlRecord& label, LONG* left, LONG* top, LONG* width, LONG* height);
// Does what a click does, once the caller has its answer: see kLabelActionMessage.
HRESULT DoLabelDefaultAction(const ControlRecord& label);

// What a label does not have.
template <typename Out> HRESULT NotForLabels(const ControlRecord&, Out*) { return DISP_E_MEMBERNOTFOUND; }
inline HRESULT NoLabelMember(const ControlRecord&) { return DISP_E_MEMBERNOTFOUND; }

// A child id, a role or a state as the interface passes them, given as the answer.
HRESULT AnswerLong(VARIANT* out, LONG value);
// An answer as it stands before it is given: empty.
inline void ClearAnswer(BSTR* text) { *text = nullptr; }
inline void ClearAnswer(IDispatch** object) { *object = nullptr; }
inline void ClearAnswer(VARIANT* variant) { variant->vt = VT_EMPTY; }
