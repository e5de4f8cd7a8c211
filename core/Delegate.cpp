#include "core/Delegate.h"

#include <vector>

namespace SkinUI {

// One Fire in progress on a source; nested ones (a listener firing the same source) form a chain.
struct CEventSourceUI::TFiring {
    TFiring* outer;
    bool sourceGone;
};

struct CEventSourceUI::TListeners {
    std::vector<CDelegateBase> delegates;
    TFiring* firing = nullptr;  // the innermost Fire running, or null
};

CEventSourceUI::~CEventSourceUI()
{
    if (m_listeners == nullptr)
        return;
    // A listener is destroying the source: every Fire still running on it must stop reading it.
    for (TFiring* firing = m_listeners->firing; firing != nullptr; firing = firing->outer)
        firing->sourceGone = true;
    delete m_listeners;
}

void CEventSourceUI::AddListener(const CDelegateBase& delegate)
{
    if (m_listeners == nullptr)
        m_listeners = new TListeners;
    for (const CDelegateBase& each : m_listeners->delegates) {
        if (each.Equals(delegate))
            return;
    }
    m_listeners->delegates.push_back(delegate);
}

bool CEventSourceUI::Fire(void* param)
{
    if (m_listeners == nullptr)
        return true;
    TListeners* listeners = m_listeners;
    TFiring firing = {listeners->firing, false};
    listeners->firing = &firing;
    bool answer = true;
    // Indexes and a copy of each delegate: a listener may add listeners and so move the block.
    for (size_t i = 0; answer && i < listeners->delegates.size(); ++i) {
        const CDelegateBase delegate = listeners->delegates[i];
        answer = delegate.Invoke(param);
        if (firing.sourceGone)
            return false;
    }
    listeners->firing = firing.outer;
    return answer;
}

}  // namespace SkinUI
