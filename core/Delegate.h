// Delegates and event sources: the per-control listener lists (init, destroy, resize, event,
// notify).
//
// A delegate binds an object and a member function `bool fn(void*)`. The event source keeps its
// own heap copies in insertion order and deletes them when it dies. Two delegates are equal when
// they bind the same object and the same function, so adding a listener twice keeps one copy.
// Firing stops at the first listener that answers false (a control uses that to veto the default
// handling of an event). There is no removal: listeners live as long as the control.
#pragma once

#include "core/PtrVector.h"

#include <cstddef>
#include <cstring>

namespace SkinUI {

class CDelegateBase {
public:
    virtual ~CDelegateBase() = default;
    // A new heap copy of the same dynamic type; the caller owns it.
    virtual CDelegateBase* Copy() const = 0;
    virtual bool Invoke(void* param) = 0;

    bool operator()(void* param) { return Invoke(param); }
    // Same bound object and same bound function.
    bool Equals(const CDelegateBase& other) const;
    bool operator==(const CDelegateBase& other) const { return Equals(other); }

    void* GetBoundObject() const { return m_object; }

protected:
    // A member-function pointer does not fit an untyped pointer on every compiler, so its bytes
    // are kept for the equality test.
    static const size_t kMaxFunctionBytes = 32;
    CDelegateBase(void* object, const void* function, size_t functionBytes);
    CDelegateBase(const CDelegateBase&) = default;
    CDelegateBase& operator=(const CDelegateBase&) = default;

private:
    void* m_object;
    unsigned char m_function[kMaxFunctionBytes];
    size_t m_functionBytes;
};

// O: the object's class; T: the class that declares the member function (O or a base of O).
template <class O, class T> class CDelegate : public CDelegateBase {
public:
    typedef bool (T::*Function)(void*);

    CDelegate(O* object, Function function)
        : CDelegateBase(object, &function, sizeof(function))
        , m_function(function)
    {
        static_assert(sizeof(Function) <= kMaxFunctionBytes, "member function pointer too large");
    }
    CDelegateBase* Copy() const override { return new CDelegate(*this); }
    bool Invoke(void* param) override { return (static_cast<O*>(GetBoundObject())->*m_function)(param); }

private:
    Function m_function;
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
    bool Fire(void* param);
    bool operator()(void* param) { return Fire(param); }
    bool HasListeners() const { return m_delegates.GetSize() > 0; }

private:
    CPtrVectorUI m_delegates;  // owned CDelegateBase*
};

inline CDelegateBase::CDelegateBase(void* object, const void* function, size_t functionBytes)
    : m_object(object)
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
