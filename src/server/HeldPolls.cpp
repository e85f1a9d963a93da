#include "HeldPolls.h"

#include "CRequestSocket.h"

#include <QHash>
#include <QMetaObject>
#include <QPointer>

namespace {

QHash<QString, QPointer<CRequestSocket>> &Held()
{
    static QHash<QString, QPointer<CRequestSocket>> held;
    return held;
}

void AnswerLater(CRequestSocket *poll, bool repollSoon)
{
    QMetaObject::invokeMethod(
        poll, [poll, repollSoon] { poll->AnswerHeldPoll(repollSoon); }, Qt::QueuedConnection);
}

} // namespace

void HoldPoll(const QString &key, CRequestSocket *poll)
{
    const QPointer<CRequestSocket> earlier = Held().value(key);
    Held().insert(key, poll);
    // Two control windows of one user take turns at their pages' own pace.
    if (earlier && earlier != poll)
        AnswerLater(earlier, false);
}

void ForgetHeldPoll(const CRequestSocket *poll)
{
    for (auto it = Held().begin(); it != Held().end(); ++it) {
        if (it.value() == poll) {
            Held().erase(it);
            return;
        }
    }
}

bool HasHeldPoll(const QString &key)
{
    return !Held().value(key).isNull();
}

void AnswerHeldPoll(const QString &key)
{
    if (CRequestSocket *poll = Held().value(key))
        AnswerLater(poll, true);
}

void AnswerAllHeldPolls()
{
    for (const QPointer<CRequestSocket> &poll : std::as_const(Held())) {
        // After a stop the page's own refresh gives a restart time to finish first.
        if (poll)
            AnswerLater(poll, false);
    }
}
