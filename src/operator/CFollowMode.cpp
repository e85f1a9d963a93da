#include "CFollowMode.h"

#include "CMainFrame.h"
#include "CPushDispatcher.h"
#include "CUserTable.h"
#include "ResourceIds.h"
#include "Trace.h"

using namespace Qt::StringLiterals;

namespace {

const QString kFollow = u"FOLLOW"_s;
const QString kFrames = u"FRAMES"_s;

std::optional<QString> &LastTarget()
{
    static std::optional<QString> name;
    return name;
}

} // namespace

bool AnyUserConnected()
{
    const QMutexLocker lock(&g_userTable.Lock());
    return g_userTable.Size() != 0;
}

void SetStatusPane(int id, const QString &text)
{
    if (g_pMainFrame)
        g_pMainFrame->SetPaneText(id, text);
}

CFollowMode::CFollowMode()
{
    SetStatusPane(ID_INDICATOR_FOLLOW, kFollow);
}

const std::optional<QString> &CFollowMode::LastTargetFrameName()
{
    return LastTarget();
}

bool CFollowMode::OnBeforeNavigate2(const QString &url, const QString &targetFrameName, bool push)
{
    qCDebug(lcTrace, "\tURL is %s", qPrintable(url));
    if (!m_bFollow)
        return false;
    std::optional<QString> &last = LastTarget();
    if (!last)
        last = targetFrameName;
    const bool entersFrames = last->isEmpty() && !targetFrameName.isEmpty();
    if (entersFrames)
        SetStatusPane(ID_INDICATOR_FRAMES, kFrames);
    else if (targetFrameName.isEmpty())
        SetStatusPane(ID_INDICATOR_FRAMES, QString());
    last = targetFrameName;
    // The push takes the lock itself; holding it across would only widen the window.
    if (push && AnyUserConnected())
        CPushDispatcher().PushToAll(url);
    return entersFrames;
}

void CFollowMode::Toggle(const QString &currentAddress)
{
    m_bFollow = !m_bFollow;
    // A blank browser has no page to show: pushed, it would become "http://about:blank".
    const bool page = !currentAddress.isEmpty() && currentAddress != u"about:blank"_s;
    if (m_bFollow && page && currentAddress != CPushDispatcher::lastPushedAddress)
        CPushDispatcher().PushUrlToAll(currentAddress);
    SetStatusPane(ID_INDICATOR_FOLLOW, m_bFollow ? kFollow : QString());
}

QString CFollowMode::TogglePrompt() const
{
    return u"Turn Follow Mode "_s + (m_bFollow ? u"off"_s : u"on"_s);
}
