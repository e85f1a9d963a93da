#include "ServerLinks.h"

#include "CUserInfo.h"

#include <QCoreApplication>
#include <QMetaObject>

CActivityLink *g_pActivityLink = nullptr;
CUserLink *g_pUserLink = nullptr;

namespace {

void DeliverUserMessage(UserMessage message, std::unique_ptr<CUserInfo> user)
{
    if (!g_pUserLink || !user)
        return;
    switch (message) {
    case UM_ADD_USER:
        g_pUserLink->AddUser(user.release());
        break;
    case UM_REMOVE_USER:
        g_pUserLink->RemoveUser(*user);
        break;
    case UM_UPDATE_USER:
        g_pUserLink->UpdateUser(*user);
        break;
    case UM_NOTHING:
        break;
    }
}

} // namespace

void PostUserMessage(UserMessage message, std::unique_ptr<CUserInfo> user)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    // Queued calls copy their function, so the record rides in a shared holder; a call that
    // never runs frees it with the holder.
    auto holder = std::make_shared<std::unique_ptr<CUserInfo>>(std::move(user));
    QMetaObject::invokeMethod(
        application, [message, holder] { DeliverUserMessage(message, std::move(*holder)); },
        Qt::QueuedConnection);
}
