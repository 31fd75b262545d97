#pragma once
// Internal to this layer: access to the client library, status handling and handle ownership.

#include "Error.h"
#include "FbApi.h"

#include <utility>

namespace fb::detail {

// The client library's master interface; prepares the engine configuration first.
Firebird::IMaster* master();
Firebird::IUtil* util();

// Turns a failed status into an fb::Error with the database's message, codes and SQLSTATE.
Error toError(Firebird::IStatus* status);

// A status that throws Firebird::FbException on failure; use it inside guarded().
class ThrowStatus : public Firebird::ThrowStatusWrapper
{
public:
    ThrowStatus() : Firebird::ThrowStatusWrapper(master()->getStatus()) {}
    ~ThrowStatus() { dispose(); }
    ThrowStatus(const ThrowStatus&) = delete;
    ThrowStatus& operator=(const ThrowStatus&) = delete;
};

// A status that only records failures: for clean-up paths that must not throw.
class QuietStatus : public Firebird::CheckStatusWrapper
{
public:
    QuietStatus() : Firebird::CheckStatusWrapper(master()->getStatus()) {}
    ~QuietStatus() { dispose(); }
    QuietStatus(const QuietStatus&) = delete;
    QuietStatus& operator=(const QuietStatus&) = delete;
    bool failed() { return (getState() & Firebird::IStatus::STATE_ERRORS) != 0; }
};

// Runs calls made with ThrowStatus and converts the library's exception into fb::Error.
template <class F> decltype(auto) guarded(F&& f)
{
    try {
        return std::forward<F>(f)();
    } catch (const Firebird::FbException& e) {
        throw toError(e.getStatus());
    }
}

// Owns one reference of a reference-counted interface (metadata, blobs, builders...).
template <class T> class Ref
{
public:
    Ref() = default;
    explicit Ref(T* p) : m_p(p) {}
    Ref(Ref&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    Ref& operator=(Ref&& o) noexcept
    {
        if (this != &o) {
            reset();
            m_p = std::exchange(o.m_p, nullptr);
        }
        return *this;
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { reset(); }

    void reset(T* p = nullptr)
    {
        if (m_p)
            m_p->release();
        m_p = p;
    }
    T* release() { return std::exchange(m_p, nullptr); }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

// For the few builders that are disposed rather than released.
template <class T> struct Disposer
{
    T* p;
    ~Disposer()
    {
        if (p)
            p->dispose();
    }
};

} // namespace fb::detail
