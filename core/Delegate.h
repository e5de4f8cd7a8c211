// Delegates and event sources: the per-control listener lists (init, destroy, resize, event,
// notify).
//
// A delegate binds an object and a member function `bool fn(void*)`. It is a plain value of one
// size whatever the classes it binds, so an event source keeps its listeners by value in one block
// made at the first listener: a control nobody listens to pays one pointer a list, and a listener
// costs no allocation of its own. Two delegates are equal when they bind the same object and the
// same function, so adding a listener twice keeps one copy. Firing stops at the first listener that
// answers false (a control uses that to veto the default handling of an event), and at once when a
// listener destroys the source (with the control that holds it). There is no removal: listeners
// live as long as the control.
#pragma once

#include <cstddef>
#include <cstring>

namespace SkinUI {

class CDelegateBase {
public:
    bool Invoke(void* param) const { return m_call(m_object, m_function, param); }
    bool operator()(void* param) const { return Invoke(param); }
    // Same bound object and same bound function.
    bool Equals(const CDelegateBase& other) const;
    bool operator==(const CDelegateBase& other) const { return Equals(other); }

    void* GetBoundObject() const { return m_object; }

protected:
    // A member-function pointer does not fit an untyped pointer on every compiler, so its bytes
    // are kept, and `call` (which knows the classes) turns them back into the pointer.
    static const size_t kMaxFunctionBytes = 32;
    typedef bool (*Call)(void* object, const unsigned char* function, void* param);
    CDelegateBase(void* object, const void* function, size_t functionBytes, Call call);

private:
    void* m_object;
    Call m_call;
    unsigned char m_function[kMaxFunctionBytes];
    size_t m_functionBytes;
};

// O: the object's class; T: the class that declares the member function (O or a base of O). Adds
// no fields: a copy sliced to CDelegateBase still calls the same member.
template <class O, class T> class CDelegate : public CDelegateBase {
public:
    typedef bool (T::*Function)(void*);

    CDelegate(O* object, Function function)
        : CDelegateBase(object, &function, sizeof(function), &CallMember)
    {
        static_assert(sizeof(Function) <= kMaxFunctionBytes, "member function pointer too large");
    }

private:
    static bool CallMember(void* object, const unsigned char* bytes, void* param)
    {
        Function function;
        std::memcpy(&function, bytes, sizeof(function));
        return (static_cast<O*>(object)->*function)(param);
    }
};

template <class O, class T> CDelegate<O, T> MakeDelegate(O* object, bool (T::*function)(void*))
{
    return CDelegate<O, T>(object, function);
}

class CEventSourceUI {
public:
    CEventSourceUI() = default;
    ~CEventSourceUI();
    CEventSourceUI(const CEventSourceUI&) = delete;
    CEventSourceUI& operator=(const CEventSourceUI&) = delete;

    // Appends a copy unless an equal delegate is already listed.
    void AddListener(const CDelegateBase& delegate);
    CEventSourceUI& operator+=(const CDelegateBase& delegate)
    {
        AddListener(delegate);
        return *this;
    }
    // Calls the listeners in insertion order; false at the first one that answers false, true
    // otherwise (also with no listeners). Listeners added while firing are called in the same run.
    // A listener that destroys the source ends the run: false, and nothing of the source is read.
    bool Fire(void* param);
    bool operator()(void* param) { return Fire(param); }
    bool HasListeners() const { return m_listeners != nullptr; }

private:
    struct TFiring;
    struct TListeners;
    TListeners* m_listeners = nullptr;  // owned; made at the first listener
};

inline CDelegateBase::CDelegateBase(void* object, const void* function, size_t functionBytes, Call call)
    : m_object(object)
    , m_call(call)
    , m_function()
    , m_functionBytes(functionBytes)
{
    std::memcpy(m_function, function, functionBytes);
}

inline bool CDelegateBase::Equals(const CDelegateBase& other) const
{
    return m_object == other.m_object && m_functionBytes == other.m_functionBytes
        && std::memcmp(m_function, other.m_function, m_functionBytes) == 0;
}

}  // namespace SkinUI
