#pragma once

#include <QLocalServer>
#include <QStringList>

// Opening from the file manager: the desktop entry runs "vantro --open FILE"; when the
// console already runs, the file's path travels to it over a local socket and it opens the
// file there, as if chosen with File Open.
class COpenChannel : public QObject
{
public:
    explicit COpenChannel(QObject *parent = nullptr);

    // The channel's name for this user.
    static QString Name();
    // Hands the paths to a running console; false when none listens.
    static bool SendToRunning(const QStringList &paths);
    // Starts taking paths; false when the channel cannot be made.
    bool Listen();

private:
    void OnConnection();

    QLocalServer m_server;
};

// Opens one path the way File Open does.
void OpenFromFileManager(const QString &path);
