#include "CNamedEvent.h"

#include <QDeadlineTimer>
#include <QHash>

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
    const QMutexLocker lock(&m_mutex);
    m_signalled = true;
    if (m_manualReset)
        m_condition.wakeAll();
    else
        m_condition.wakeOne();
}

void CNamedEvent::Reset()
{
    const QMutexLocker lock(&m_mutex);
    m_signalled = false;
}

bool CNamedEvent::Wait(int timeoutMs)
{
    QMutexLocker lock(&m_mutex);
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_signalled) {
        if (!m_condition.wait(&m_mutex, deadline))
            break;
    }
    const bool signalled = m_signalled;
    if (signalled && !m_manualReset)
        m_signalled = false;
    return signalled;
}
