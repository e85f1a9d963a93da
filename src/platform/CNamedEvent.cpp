#include "CNamedEvent.h"

#include <QHash>
#include <QMutex>

#include <chrono>

CNamedEvent::CNamedEvent(bool manualReset, bool initiallySignalled)
    : m_manualReset(manualReset)
    , m_signalled(initiallySignalled)
{ }

std::shared_ptr<CNamedEvent> CNamedEvent::Create(const QString &name, bool manualReset,
                                                 bool initiallySignalled)
{
    static QMutex registryLock;
    static QHash<QString, std::weak_ptr<CNamedEvent>> registry;
    const QMutexLocker lock(&registryLock);
    if (std::shared_ptr<CNamedEvent> existing = registry.value(name).lock())
        return existing;
    auto event = std::make_shared<CNamedEvent>(manualReset, initiallySignalled);
    registry.insert(name, event);
    return event;
}

void CNamedEvent::Set()
{
    const std::lock_guard lock(m_mutex);
    m_signalled = true;
    if (m_manualReset)
        m_condition.notify_all();
    else
        m_condition.notify_one();
}

void CNamedEvent::Reset()
{
    const std::lock_guard lock(m_mutex);
    m_signalled = false;
}

bool CNamedEvent::Wait(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    m_condition.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [this] { return m_signalled; });
    const bool signalled = m_signalled;
    if (signalled && !m_manualReset)
        m_signalled = false;
    return signalled;
}
