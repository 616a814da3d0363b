#include "ui/accessibility.h"

#include <oleacc.h>

#include <iterator>

#include "app/platform.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace {

// What the object needs of oleacc.dll, oleaut32.dll and ole32.dll, loaded
// from the system folder when the first request comes, never at start: a
// program that nobody reads aloud pays nothing for them.
struct AccessibilityLibraries {
    decltype(&LresultFromObject) lresultFromObject;
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject;
    decltype(&AccessibleObjectFromWindow) accessibleObjectFromWindow;
    decltype(&SysAllocStringLen) sysAllocStringLen;
    bool ready;
};

const AccessibilityLibraries& Libraries() {
    static const AccessibilityLibraries libraries = [] {
        const HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
        const HMODULE oleaut32 = LoadSystemLibrary("oleaut32.dll");
        AccessibilityLibraries found{
            FindFunction<decltype(&LresultFromObject)>(oleacc, "LresultFromObject"),
            FindFunction<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject"),
            FindFunction<decltype(&AccessibleObjectFromWindow)>(oleacc, "AccessibleObjectFromWindow"),
            FindFunction<decltype(&SysAllocStringLen)>(oleaut32, "SysAllocStringLen"), false};
        // The object is handed to other processes through COM, which needs
        // this thread in an apartment of its own; the message loop serves it.
        const auto coInitializeEx =
            FindFunction<decltype(&CoInitializeEx)>(LoadSystemLibrary("ole32.dll"), "CoInitializeEx");
        const HRESULT initialized =
            coInitializeEx ? coInitializeEx(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
        found.ready = found.lresultFromObject && found.createStdAccessibleObject &&
                      found.accessibleObjectFromWindow && found.sysAllocStringLen &&
                      (SUCCEEDED(initialized) || initialized == RPC_E_CHANGED_MODE);
        return found;
    }();
    return libraries;
}

struct LabelAccessibility {
    LONG role;
    LONG state;
};

LabelAccessibility AccessibilityOf(LabelRole role) {
    switch (role) {
    case LabelRole::Button: return {ROLE_SYSTEM_PUSHBUTTON, 0};
    case LabelRole::Link: return {ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED};
    default: return {ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY};
    }
}

// A child id, a role or a state, as the interface passes them.
VARIANT LongVariant(LONG value) {
    VARIANT variant{};
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

HRESULT ToBstr(const char* text, BSTR* out) {
    wchar_t wide[256];
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(std::size(wide)));
    if (length == 0) return E_FAIL; // counts the NUL
    *out = Libraries().sysAllocStringLen(wide, static_cast<UINT>(length - 1));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// Holds one reference to a COM object and lets it go at the end.
class Reference {
public:
    Reference() = default;
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    ~Reference() {
        if (object_) object_->Release();
    }
    IAccessible** out() { return &object_; }
    IAccessible* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    IAccessible* object_ = nullptr;
};

// The client area of a container: what it says of itself is the platform's
// standard object's; its children are its child windows, whose objects are
// the platform's too, and its labels, which are answered here.
class ContainerAccessible final : public IAccessible {
public:
    ContainerAccessible(HWND window, ControlId container, IAccessible* standard)
        : window_(window), container_(container), standard_(standard) {
        for (const ControlRecord* control : ControlsInTabOrder())
            if (control->container == container) children_[childCount_++] = control;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible))
            return E_NOINTERFACE;
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: screen readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: the container itself
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        return Alive() ? standard_->get_accParent(parent) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = childCount_;
        return Alive() ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        focus->vt = VT_EMPTY;
        return Alive() ? standard_->get_accFocus(focus) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        selection->vt = VT_EMPTY;
        return Alive() ? standard_->get_accSelection(selection) : RPC_E_DISCONNECTED;
    }

    // IAccessible: the container or one of its children. Each asks who
    // answers for the id: a label is answered here, the rest by the
    // platform's objects.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (!child) return E_POINTER;
        *child = nullptr;
        const ControlRecord* control = nullptr;
        const HRESULT found = Resolve(id, &control);
        if (FAILED(found) || !control) return FAILED(found) ? found : E_INVALIDARG;
        if (control->kind == ControlKind::Label) return S_FALSE; // a simple element, answered here
        return WindowObject(*control, __uuidof(IDispatch), reinterpret_cast<void**>(child));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        Target target(*this, id);
        if (target.label) {
            try {
                return ToBstr(AccessibleName(*target.label).c_str(), name);
            } catch (...) {
                return E_OUTOFMEMORY;
            }
        }
        return target.object ? target.object->get_accName(target.id, name) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        Target target(*this, id);
        if (target.label) return DISP_E_MEMBERNOTFOUND;
        return target.object ? target.object->get_accValue(target.id, value) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override {
        if (!description) return E_POINTER;
        *description = nullptr;
        Target target(*this, id);
        if (target.label) return DISP_E_MEMBERNOTFOUND;
        return target.object ? target.object->get_accDescription(target.id, description) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        if (!role) return E_POINTER;
        role->vt = VT_EMPTY;
        Target target(*this, id);
        if (target.label) {
            *role = LongVariant(AccessibilityOf(target.label->role).role);
            return S_OK;
        }
        return target.object ? target.object->get_accRole(target.id, role) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        if (!state) return E_POINTER;
        state->vt = VT_EMPTY;
        Target target(*this, id);
        if (target.label) {
            // While a box is up the window takes no input, and no label acts.
            const bool enabled = IsWindowEnabled(ContainerWindow(ControlId::Client));
            *state = LongVariant(AccessibilityOf(target.label->role).state |
                                 (enabled ? 0 : STATE_SYSTEM_UNAVAILABLE));
            return S_OK;
        }
        return target.object ? target.object->get_accState(target.id, state) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override {
        if (!help) return E_POINTER;
        *help = nullptr;
        Target target(*this, id);
        if (target.label) return DISP_E_MEMBERNOTFOUND;
        return target.object ? target.object->get_accHelp(target.id, help) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        Target target(*this, id);
        if (target.label) return DISP_E_MEMBERNOTFOUND;
        return target.object ? target.object->get_accHelpTopic(file, target.id, topic) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override {
        if (!shortcut) return E_POINTER;
        *shortcut = nullptr;
        Target target(*this, id);
        if (target.label) return DISP_E_MEMBERNOTFOUND;
        return target.object ? target.object->get_accKeyboardShortcut(target.id, shortcut) : target.error;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
        if (!action) return E_POINTER;
        *action = nullptr;
        Target target(*this, id);
        if (target.label) {
            const char* name = DefaultActionOf(target.label->role);
            return name ? ToBstr(name, action) : DISP_E_MEMBERNOTFOUND;
        }
        return target.object ? target.object->get_accDefaultAction(target.id, action) : target.error;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override {
        Target target(*this, id);
        if (target.label) return DISP_E_MEMBERNOTFOUND;
        return target.object ? target.object->accSelect(flags, target.id) : target.error;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT id) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        Target target(*this, id);
        if (target.label) {
            const PixelRect r = ControlPixelRect(target.label->id);
            POINT corner{r.left, r.top};
            ClientToScreen(window_, &corner);
            *left = corner.x, *top = corner.y, *width = r.right - r.left, *height = r.bottom - r.top;
            return S_OK;
        }
        return target.object ? target.object->accLocation(left, top, width, height, target.id) : target.error;
    }
    // The command runs after this call returns; see kLabelActionMessage.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        Target target(*this, id);
        if (target.label) {
            if (!DefaultActionOf(target.label->role)) return DISP_E_MEMBERNOTFOUND;
            const HWND main = ContainerWindow(ControlId::Client);
            if (!IsWindowEnabled(main)) return E_FAIL; // a box is up
            return PostMessageA(main, kLabelActionMessage, static_cast<WPARAM>(target.label->id), 0) ? S_OK
                                                                                                     : E_FAIL;
        }
        return target.object ? target.object->accDoDefaultAction(target.id) : target.error;
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
        *hit = LongVariant(CHILDID_SELF);
        return S_OK;
    }

private:
    ~ContainerAccessible() { standard_->Release(); }

    // Who answers for a child id: the label it names, or the platform's
    // object and the id to ask it with (the container's own object with the
    // id itself, a child window's object as itself), or neither, with an
    // error for the caller.
    struct Target {
        Target(const ContainerAccessible& container, const VARIANT& childId) : id(childId) {
            const ControlRecord* control = nullptr;
            error = container.Resolve(childId, &control);
            if (FAILED(error)) return;
            if (!control) {
                container.standard_->AddRef();
                *object.out() = container.standard_;
            } else if (control->kind == ControlKind::Label) {
                label = control;
            } else {
                id = LongVariant(CHILDID_SELF);
                error = container.WindowObject(*control, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(object.out()));
                if (SUCCEEDED(error) && !object) error = E_FAIL;
            }
        }
        const ControlRecord* label = nullptr;
        Reference object;
        VARIANT id;
        HRESULT error;
    };

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
        return Libraries().accessibleObjectFromWindow(ControlWindow(control.id),
                                                      static_cast<DWORD>(OBJID_WINDOW), iid, object);
    }

    // A child as an answer names it: a label by its child id, a child window
    // by its own object.
    HRESULT ChildVariant(LONG id, VARIANT* out) const {
        const ControlRecord& control = *children_[id - 1];
        if (control.kind == ControlKind::Label) {
            *out = LongVariant(id);
            return S_OK;
        }
        IDispatch* object = nullptr;
        const HRESULT found = WindowObject(control, __uuidof(IDispatch), reinterpret_cast<void**>(&object));
        if (FAILED(found) || !object) return FAILED(found) ? found : E_FAIL;
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
    }

    LONG references_ = 1;
    const HWND window_;
    const ControlId container_;
    IAccessible* const standard_;
    const ControlRecord* children_[kControlCount] = {};
    LONG childCount_ = 0;
};

} // namespace

bool AnswerGetObject(HWND window, ControlId container, WPARAM flags, LPARAM objectId, LRESULT* result) {
    // Sent as a DWORD; on 64-bit Windows the LPARAM may arrive sign-extended or not.
    if (static_cast<LONG>(static_cast<DWORD>(objectId)) != OBJID_CLIENT) return false;
    IAccessible* standard = nullptr;
    try {
        const AccessibilityLibraries& libraries = Libraries();
        if (!libraries.ready) return false;
        if (FAILED(libraries.createStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&standard))) ||
            !standard)
            return false;
        auto* object = new ContainerAccessible(window, container, standard);
        standard = nullptr; // the object's now
        const LRESULT reference = libraries.lresultFromObject(__uuidof(IAccessible), flags, object);
        object->Release();
        if (FAILED(reference)) return false;
        *result = reference;
        return true;
    } catch (...) {
        if (standard) standard->Release();
        return false;
    }
}
