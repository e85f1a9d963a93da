#include "IdleHook.h"

#include <QAbstractEventDispatcher>
#include <QThread>

void OnEveryIdleMoment(QObject *context, std::function<void()> handler)
{
    auto *dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread());
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, context,
                     std::move(handler));
}
