// A window's accessible object: the system's own, with the name, role and default action
// the program gives it. Clients in other processes reach it through COM's marshalling, on the
// window's thread, which the modal loops keep serving.
#include "framework/Accessible.h"

#include <oleacc.h>

#include <utility>

#include "framework/SystemLibraries.h"

namespace fw {

// The facts of one window, shared by the window and the objects handed out: the window lets
// go of them when it goes, the objects when their last client does.
struct Description {
    LONG references = 1;
    AccessibleFacts facts;
    bool windowAlive = true;

    void AddRef() { ++references; }
    void Release()
    {
        if (--references == 0)
            delete this;
    }
    void WindowGone()
    {
        windowAlive = false;
        facts = {};
        Release();
    }
};

namespace {

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

class DescribedObject final : public IAccessible {
public:
    DescribedObject(IAccessible* system, Description* facts) : inner(system), description(facts)
    {
        description->AddRef();
    }
    DescribedObject(const DescribedObject&) = delete;
    DescribedObject& operator=(const DescribedObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The children's enumeration and the window itself are the system's.
        if (id == __uuidof(IEnumVARIANT) || id == __uuidof(IOleWindow))
            return inner->QueryInterface(id, object);
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            inner->Release();
            description->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients of IAccessible call its methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible: the window's own facts, the rest the system's.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!Alive())
            return CO_E_OBJNOTCONNECTED;
        if (!IsSelf(child) || !description->facts.name)
            return inner->get_accName(child, name);
        if (!name)
            return E_POINTER;
        *name = AllocateBstr(description->facts.name().c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!Alive())
            return CO_E_OBJNOTCONNECTED;
        if (!IsSelf(child) || description->facts.role == 0)
            return inner->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        role->vt = VT_I4;
        role->lVal = description->facts.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!Alive())
            return CO_E_OBJNOTCONNECTED;
        if (!IsSelf(child) || description->facts.defaultAction.empty())
            return inner->get_accDefaultAction(child, action);
        if (!action)
            return E_POINTER;
        *action = AllocateBstr(description->facts.defaultAction.c_str());
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!Alive())
            return CO_E_OBJNOTCONNECTED;
        if (!IsSelf(child) || !description->facts.doDefaultAction)
            return inner->accDoDefaultAction(child);
        description->facts.doDefaultAction();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return inner->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return inner->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return inner->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return inner->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return inner->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return inner->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return inner->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override
    {
        return inner->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return inner->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return inner->get_accSelection(children); }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return inner->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return inner->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return inner->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override
    {
        return inner->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return inner->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return inner->put_accValue(child, value);
    }

private:
    ~DescribedObject() = default;
    bool Alive() const { return description->windowAlive; }

    LONG references = 1;
    IAccessible* inner;
    Description* description;
};

LRESULT Answer(HWND window, Description* description, WPARAM flags, LPARAM objectId)
{
    IAccessible* system = nullptr;
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || !EnterComApartment() ||
        FAILED(fw::CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&system))))
        return 0;
    auto* object = new DescribedObject(system, description);
    const LRESULT result = fw::LresultFromObject(__uuidof(IAccessible), flags, object);
    // The marshalled reference, if any, keeps the object for its client.
    object->Release();
    return result > 0 ? result : 0;
}

LRESULT CALLBACK DescribingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data)
{
    auto* description = reinterpret_cast<Description*>(data);
    if (message == WM_GETOBJECT)
        if (const LRESULT result = Answer(window, description, wParam, lParam))
            return result;
    if (message == WM_NCDESTROY) {
        fw::RemoveWindowSubclass(window, DescribingProcedure, id);
        description->WindowGone();
    }
    return fw::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

AccessibleWindow::AccessibleWindow(AccessibleFacts facts) : description(new Description)
{
    description->facts = std::move(facts);
}

AccessibleWindow::~AccessibleWindow()
{
    description->WindowGone();
}

LRESULT AccessibleWindow::Answer(HWND window, WPARAM flags, LPARAM objectId) const
{
    return fw::Answer(window, description, flags, objectId);
}

void DescribeToAssistiveTechnology(HWND window, AccessibleFacts facts)
{
    auto* description = new Description;
    description->facts = std::move(facts);
    if (!fw::SetWindowSubclass(window, DescribingProcedure, 1, reinterpret_cast<DWORD_PTR>(description)))
        description->Release();
}

void TellNameChanged(HWND window)
{
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace fw
