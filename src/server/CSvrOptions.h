#pragma once

#include <QString>

class CArchive;

// The settings of one session. Every field is a copy by value; the defaults are those of a new
// session.
class CSvrOptions
{
public:
    CSvrOptions();

    // What Session Properties accepts.
    static constexpr qint32 kMinPort = 0;
    static constexpr qint32 kMaxPort = 65535;
    static constexpr qint32 kMinRefreshSecs = 1;
    static constexpr qint32 kMaxRefreshSecs = 9;
    static constexpr qint32 kMinDownloadDelaySecs = 1;
    static constexpr qint32 kMaxDownloadDelaySecs = 10;

    void CopyFrom(const CSvrOptions &other);
    // Writes or reads the 18 fields in session-file order; the direction follows the archive.
    void Serialize(CArchive &archive);

    // The root folder as served and written to: one mapping for both, so a name written with
    // backslashes cannot put the pages in one place and serve them from another.
    QString ServedRoot() const;

    // Brings every number into the range Session Properties accepts, by taking the nearest
    // bound; a session file from elsewhere may hold anything.
    void BringIntoRange();

    // The root folder a new session serves until the application says otherwise.
    static void SetDefaultRootFolder(const QString &folder);

    qint32 m_callCenterMode = 0;
    qint32 m_callCenterOption = 0;
    QString m_callCenterPath;
    QString m_callCenterServer;
    QString m_operatorName;
    QString m_playEveryFrame;
    QString m_autoPlay;
    QString m_logFileName;
    qint32 m_logEnabled = 0;
    qint32 m_downloadDelaySecs = 5;
    qint32 m_refreshSecs = 5;
    QString m_busyPage;
    QString m_logoffPage;
    QString m_logonPage;
    QString m_welcomePage;
    qint32 m_port = 80;
    QString m_rootFolder;
    QString m_backgroundImage;
    // Not in the session file: a poll of an idle control page is held open until a push or
    // its time is up. The console keeps it in the program's profile.
    qint32 m_instantDelivery = 1;
    // Not in the session file either: once a new user has its welcome page, the last page pushed
    // to everybody is pushed to it. Kept in the program's profile too.
    qint32 m_bringLateJoiners = 1;
};
