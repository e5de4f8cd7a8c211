#include "core/Delegate.h"

namespace SkinUI {

CEventSourceUI::~CEventSourceUI()
{
    for (int i = 0; i < m_delegates.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_delegates.GetAt(i));
}

void CEventSourceUI::AddListener(const CDelegateBase& delegate)
{
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        if (static_cast<CDelegateBase*>(m_delegates.GetAt(i))->Equals(delegate))
            return;
    }
    CDelegateBase* copy = delegate.Copy();
    if (!m_delegates.Add(copy))
        delete copy;
}

bool CEventSourceUI::Fire(void* param)
{
    // Indexes, not a cached block pointer: a listener may add listeners and so move the block.
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        if (!static_cast<CDelegateBase*>(m_delegates.GetAt(i))->Invoke(param))
            return false;
    }
    return true;
}

}  // namespace SkinUI
