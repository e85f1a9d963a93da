#include "CCmdTarget.h"

bool CCmdTarget::OnCmdMsg(int id)
{
    const auto handler = m_commands.constFind(id);
    if (handler == m_commands.cend())
        return false;
    // A copy: the handler may replace its own entry or destroy this target.
    const std::function<void()> run = *handler;
    run();
    return true;
}

bool CCmdTarget::OnUpdateCmdUI(CCmdUI &ui)
{
    const auto handler = m_updates.constFind(ui.m_nID);
    if (handler == m_updates.cend())
        return false;
    (*handler)(ui);
    return true;
}

void CCmdTarget::OnCommand(int id, std::function<void()> handler)
{
    m_commands.insert(id, std::move(handler));
}

void CCmdTarget::OnUpdate(int id, std::function<void(CCmdUI &)> handler)
{
    m_updates.insert(id, std::move(handler));
}

bool RouteCommand(const QList<CCmdTarget *> &targets, int id)
{
    for (CCmdTarget *target : targets) {
        if (target && target->OnCmdMsg(id))
            return true;
    }
    return false;
}

void RouteUpdate(const QList<CCmdTarget *> &targets, CCmdUI &ui)
{
    for (CCmdTarget *target : targets) {
        if (target && target->OnUpdateCmdUI(ui))
            return;
    }
    bool handled = false;
    for (CCmdTarget *target : targets)
        handled = handled || (target && target->HasCommand(ui.m_nID));
    ui.Enable(handled);
}
