#include "ui/accessibility.h"

#include <wrl/client.h>

#include <utility>

#include "ui/dispatch_object.h"
#include "ui/label_accessibility.h"
#include "ui/main_window.h"
#include "ui/oleacc_functions.h"
#include "ui/window_state.h"

using Microsoft::WRL::ComPtr;

namespace {

// The client area of a container: what it says of itself is the platform's
// standard object's; its children are its child windows, whose objects are
// the platform's too, and its labels, which are answered here from the
// layout's record of each.
class ContainerAccessible final : public DispatchObject<IAccessible> {
public:
    ContainerAccessible(HWND window, ControlId container, ComPtr<IAccessible> standard)
        : window_(window), container_(container), standard_(std::move(standard)) {
        for (const ControlRecord* control : ControlsInTabOrder())
            if (control->container == container) children_[childCount_++] = control;
    }

    // IAccessible: the container itself
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return AskSelf(parent, &IAccessible::get_accParent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = childCount_;
        return Alive() ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return AskSelf(focus, &IAccessible::get_accFocus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return AskSelf(selection, &IAccessible::get_accSelection);
    }

    // IAccessible: the container or one of its children (see Ask)
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (!child) return E_POINTER;
        *child = nullptr;
        const ControlRecord* control = nullptr;
        const HRESULT found = Resolve(id, &control);
        if (FAILED(found) || !control) return FAILED(found) ? found : E_INVALIDARG;
        if (control->kind == ControlKind::Label) return S_FALSE; // a simple element, answered here
        return WindowObject(*control, IID_PPV_ARGS(child));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        return Ask(id, name, &IAccessible::get_accName, LabelName);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        return Ask(id, role, &IAccessible::get_accRole, LabelRole);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        return Ask(id, state, &IAccessible::get_accState, LabelState);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
        return Ask(id, action, &IAccessible::get_accDefaultAction, LabelDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        return Ask(id, value, &IAccessible::get_accValue, NotForLabels<BSTR>);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override {
        return Ask(id, text, &IAccessible::get_accDescription, NotForLabels<BSTR>);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override {
        return Ask(id, help, &IAccessible::get_accHelp, NotForLabels<BSTR>);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* keys) override {
        return Ask(id, keys, &IAccessible::get_accKeyboardShortcut, NotForLabels<BSTR>);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return Ask(id, NoLabelMember, [&](IAccessible* object, VARIANT child) {
            return object->get_accHelpTopic(file, child, topic);
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override {
        return Ask(id, NoLabelMember,
                   [&](IAccessible* object, VARIANT child) { return object->accSelect(flags, child); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT id) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        return Ask(
            id, [&](const ControlRecord& label) { return LabelLocation(label, left, top, width, height); },
            [&](IAccessible* object, VARIANT child) {
                return object->accLocation(left, top, width, height, child);
            });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        return Ask(id, DoLabelDefaultAction,
                   [](IAccessible* object, VARIANT child) { return object->accDoDefaultAction(child); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // Children follow one another in tab order.
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        end->vt = VT_EMPTY;
        const ControlRecord* control = nullptr;
        const HRESULT found = Resolve(start, &control);
        if (FAILED(found)) return found;
        LONG target;
        if (!control && direction == NAVDIR_FIRSTCHILD)
            target = 1;
        else if (!control && direction == NAVDIR_LASTCHILD)
            target = childCount_;
        else if (!control)
            return standard_->accNavigate(direction, start, end);
        else if (direction == NAVDIR_NEXT)
            target = start.lVal + 1;
        else if (direction == NAVDIR_PREVIOUS)
            target = start.lVal - 1;
        else
            return DISP_E_MEMBERNOTFOUND;
        return target >= 1 && target <= childCount_ ? ChildVariant(target, end) : S_FALSE;
    }

    // What the mouse would reach at the point: a child window lies over the
    // labels of its container, and a label over the bare container.
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        hit->vt = VT_EMPTY;
        if (!Alive()) return RPC_E_DISCONNECTED;
        POINT point{x, y};
        ScreenToClient(window_, &point);
        RECT client;
        GetClientRect(window_, &client);
        if (!PtInRect(&client, point)) return S_FALSE;
        const HWND childWindow = ChildWindowFromPointEx(window_, point, CWP_SKIPINVISIBLE);
        const ControlId label = LabelAt(container_, point.x, point.y, MainWindowDpi());
        LONG labelChild = 0;
        for (LONG i = 1; i <= childCount_; ++i) {
            const ControlId id = children_[i - 1]->id;
            if (childWindow != window_ && ControlWindow(id) == childWindow) return ChildVariant(i, hit);
            if (id == label) labelChild = i;
        }
        if (labelChild) return ChildVariant(labelChild, hit);
        return AnswerLong(hit, CHILDID_SELF);
    }

private:
    // The question of a getter, its answer cleared first: a label's answered
    // by onLabel, the rest by the platform's object's own getter.
    template <typename Out>
    HRESULT Ask(const VARIANT& id, Out* out, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, Out*),
                HRESULT (*ofLabel)(const ControlRecord&, Out*)) const {
        if (!out) return E_POINTER;
        ClearAnswer(out);
        return Ask(
            id, [&](const ControlRecord& label) { return ofLabel(label, out); },
            [&](IAccessible* object, VARIANT child) { return (object->*get)(child, out); });
    }
    template <typename Out>
    HRESULT AskSelf(Out* out, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(Out*)) const {
        if (!out) return E_POINTER;
        ClearAnswer(out);
        return Alive() ? (standard_.Get()->*get)(out) : RPC_E_DISCONNECTED;
    }

    // Who answers for a child id: a label is answered here by onLabel; the
    // rest by the platform's object, which onObject asks with the id it
    // knows: the container's own object with the id itself, a child window's
    // object as itself.
    template <typename OnLabel, typename OnObject>
    HRESULT Ask(const VARIANT& id, OnLabel onLabel, OnObject onObject) const {
        const ControlRecord* control = nullptr;
        const HRESULT found = Resolve(id, &control);
        if (FAILED(found)) return found;
        if (!control) return onObject(standard_.Get(), id);
        if (control->kind == ControlKind::Label) {
            try {
                return onLabel(*control);
            } catch (...) { // no exception leaves for the caller's process
                return E_OUTOFMEMORY;
            }
        }
        ComPtr<IAccessible> window;
        const HRESULT made = WindowObject(*control, IID_PPV_ARGS(&window));
        if (FAILED(made) || !window) return FAILED(made) ? made : E_FAIL;
        VARIANT self;
        AnswerLong(&self, CHILDID_SELF);
        return onObject(window.Get(), self);
    }

    // The window is gone, or is no longer the program's container (an object
    // that outlived its window): every answer is then an error.
    bool Alive() const { return IsWindow(window_) && ContainerWindow(container_) == window_; }

    // The control a child id names: null for the container itself.
    HRESULT Resolve(const VARIANT& id, const ControlRecord** control) const {
        *control = nullptr;
        if (!Alive()) return RPC_E_DISCONNECTED;
        if (id.vt != VT_I4) return E_INVALIDARG;
        if (id.lVal == CHILDID_SELF) return S_OK;
        if (id.lVal < 1 || id.lVal > childCount_) return E_INVALIDARG;
        *control = children_[id.lVal - 1];
        return S_OK;
    }

    // The platform's object of a child window, as the interface asked for.
    HRESULT WindowObject(const ControlRecord& control, REFIID iid, void** object) const {
        return Oleacc().accessibleObjectFromWindow(ControlWindow(control.id),
                                                   static_cast<DWORD>(OBJID_WINDOW), iid, object);
    }

    // A child as an answer names it: a label by its child id, a child window
    // by its own object.
    HRESULT ChildVariant(LONG id, VARIANT* out) const {
        const ControlRecord& control = *children_[id - 1];
        if (control.kind == ControlKind::Label) return AnswerLong(out, id);
        ComPtr<IDispatch> object;
        const HRESULT found = WindowObject(control, IID_PPV_ARGS(&object));
        if (FAILED(found) || !object) return FAILED(found) ? found : E_FAIL;
        out->vt = VT_DISPATCH;
        out->pdispVal = object.Detach();
        return S_OK;
    }

    const HWND window_;
    const ControlId container_;
    const ComPtr<IAccessible> standard_;
    const ControlRecord* children_[kControlCount] = {};
    LONG childCount_ = 0;
};

} // namespace

bool AnswerGetObject(HWND window, ControlId container, WPARAM flags, LPARAM objectId, LRESULT* result) {
    // Sent as a DWORD; on 64-bit Windows the LPARAM may arrive sign-extended or not.
    if (static_cast<LONG>(static_cast<DWORD>(objectId)) != OBJID_CLIENT) return false;
    try {
        const OleaccFunctions& libraries = Oleacc();
        ComPtr<IAccessible> standard;
        if (!libraries.ready ||
            FAILED(libraries.createStdAccessibleObject(window, OBJID_CLIENT, IID_PPV_ARGS(&standard))) ||
            !standard)
            return false;
        auto* object = new ContainerAccessible(window, container, std::move(standard));
        const LRESULT reference = libraries.lresultFromObject(__uuidof(IAccessible), flags, object);
        object->Release(); // the reference it was made with
        if (FAILED(reference)) return false;
        *result = reference;
        return true;
    } catch (...) {
        return false;
    }
}
