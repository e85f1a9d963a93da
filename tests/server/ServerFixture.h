#pragma once

#include "CListenSocket.h"
#include "CSvrOptions.h"
#include "ServerLinks.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Records what the server tells the windows.
class CRecordingLinks : public CActivityLink, public CUserLink
{
public:
    void AddActivity(const QString &user, const QString &address, bool sent) override;
    void MarkSent(const QString &address) override;
    void MarkNotDelivered(const QString &user, const QString &address) override;
    void MarkUnfetched(const QString &user, const QString &address, Unfetched why) override;
    void UpdateUser(const CUserInfo &user) override;
    void AddUser(CUserInfo *user) override;
    void RemoveUser(const CUserInfo &user) override;

    QStringList m_events; // "activity USER ADDRESS Sent", "sent ADDRESS", "added NAME KEY"...
};

// A running server on a loopback port, serving a temporary root folder that holds the session
// pages, with the windows' links recorded and message boxes answered.
class ServerFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString Root() const { return m_root.path(); }
    QString RootFile(const QString &name) const { return m_root.filePath(name); }
    void WriteRootFile(const QString &name, const QByteArray &bytes) const;
    // Starts listening with the options as they are now.
    void StartServer();

    // Sends the bytes from the source address and returns everything the server sent back
    // before it closed the connection.
    QByteArray Fetch(const QByteArray &request,
                     const QString &source = QStringLiteral("127.0.0.1"));
    QByteArray Get(const QByteArray &path, const QString &source = QStringLiteral("127.0.0.1"));
    // The body of a response (after the blank line), or the whole text when it has none.
    static QByteArray Body(const QByteArray &response);
    // Logs on from the source address and returns the response.
    QByteArray Logon(const QString &source, const QByteArray &query = "?sex=Mr&alias=Ann&C=1");
    // Runs the event loop until nothing is left to do.
    static void Settle();

    QTemporaryDir m_root;
    CSvrOptions m_options;
    std::unique_ptr<CListenSocket> m_listener;
    CRecordingLinks m_links;
    QStringList m_messages; // texts of the message boxes shown
};
