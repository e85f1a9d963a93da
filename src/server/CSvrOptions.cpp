#include "CSvrOptions.h"

#include "CArchive.h"

#include <QDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString &DefaultRootFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

} // namespace

CSvrOptions::CSvrOptions()
    : m_callCenterPath(u"cgi-bin/commandcenter_DEV.cgi"_s)
    , m_callCenterServer(u"192.0.2.10"_s)
    , m_playEveryFrame(u"FALSE"_s)
    , m_autoPlay(u"FALSE"_s)
    , m_logFileName(u"Vantro.log"_s)
    , m_busyPage(u"\\busy.htm"_s)
    , m_logoffPage(u"\\logoff.htm"_s)
    , m_logonPage(u"\\logon.htm"_s)
    , m_welcomePage(u"\\welcome.htm"_s)
    , m_rootFolder(DefaultRootFolder())
    , m_backgroundImage(u"backpage.gif"_s)
{ }

void CSvrOptions::CopyFrom(const CSvrOptions &other)
{
    *this = other;
}

QString CSvrOptions::ServedRoot() const
{
    return QDir::cleanPath(QString(m_rootFolder).replace(u'\\', u'/'));
}

void CSvrOptions::BringIntoRange()
{
    m_port = std::clamp(m_port, kMinPort, kMaxPort);
    m_refreshSecs = std::clamp(m_refreshSecs, kMinRefreshSecs, kMaxRefreshSecs);
    m_downloadDelaySecs
        = std::clamp(m_downloadDelaySecs, kMinDownloadDelaySecs, kMaxDownloadDelaySecs);
    m_logEnabled = std::clamp(m_logEnabled, 0, 1);
    m_callCenterMode = std::clamp(m_callCenterMode, 0, 1);
}

void CSvrOptions::SetDefaultRootFolder(const QString &folder)
{
    DefaultRootFolder() = folder;
}

void CSvrOptions::Serialize(CArchive &archive)
{
    archive.Exchange(m_rootFolder);
    archive.Exchange(m_logonPage);
    archive.Exchange(m_busyPage);
    archive.Exchange(m_logoffPage);
    archive.Exchange(m_welcomePage);
    archive.Exchange(m_port);
    archive.Exchange(m_refreshSecs);
    archive.Exchange(m_downloadDelaySecs);
    archive.Exchange(m_playEveryFrame);
    archive.Exchange(m_autoPlay);
    archive.Exchange(m_logEnabled);
    archive.Exchange(m_logFileName);
    archive.Exchange(m_callCenterServer);
    archive.Exchange(m_callCenterPath);
    archive.Exchange(m_callCenterOption);
    archive.Exchange(m_callCenterMode);
    archive.Exchange(m_operatorName);
    archive.Exchange(m_backgroundImage);
    if (!archive.IsStoring())
        BringIntoRange();
}
