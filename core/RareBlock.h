// CRareBlockUI<T>: fields that few objects of a class are given, kept in one block made at the first
// write, so that the many objects without them (the rows of a long list or tree) pay one pointer.
// Reads without the block answer a shared T made with its defaults; T's defaults are therefore the
// values an object reads before anything is written.
#pragma once

#include <memory>

namespace SkinUI {

template <class T> class CRareBlockUI {
public:
    const T& Get() const { return m_block != nullptr ? *m_block : Defaults(); }
    T& Edit()
    {
        if (m_block == nullptr)
            m_block.reset(new T);
        return *m_block;
    }
    bool IsMade() const { return m_block != nullptr; }

private:
    static const T& Defaults()
    {
        static const T defaults;
        return defaults;
    }

    std::unique_ptr<T> m_block;  // owned; null until the first write
};

}  // namespace SkinUI
