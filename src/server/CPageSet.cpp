#include "CPageSet.h"

#include "FileErrors.h"
#include "MessageBox.h"
#include "PageText.h"
#include "Trace.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFirstRefreshSecs = 2;

QString PageFile(const QString &root, QLatin1StringView prefix, const QString &address)
{
    return root + u'/' + prefix + address + ".htm"_L1;
}

// Pages are text files: every line feed is stored as CR LF.
QByteArray WithCrLf(const QByteArray &page)
{
    QByteArray stored = page;
    return stored.replace("\n", "\r\n");
}

// Writes the whole file in one piece; 0 on success, else the errno of the failing step. The new
// bytes go over the old ones and the file is cut to their length after: emptying it first would
// have ext4 start writing it to disk at the close, which on a busy disk holds up every push by
// milliseconds per user.
int WriteWholeFile(const QString &fileName, const QByteArray &bytes)
{
    const int fd
        = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count
            = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            const int error = count < 0 ? errno : EIO;
            ::close(fd);
            return error;
        }
        written += count;
    }
    if (::ftruncate(fd, bytes.size()) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    return ::close(fd) == 0 ? 0 : errno;
}

} // namespace

CPageSet::~CPageSet()
{
    // Pages whose first writing failed are left for the operator to look at.
    if (m_writeFailed)
        return;
    for (const QString &file : {m_greetingFile, m_controlFile})
        if (!file.isEmpty())
            QFile::remove(file);
    if (!m_cdromFile.isEmpty() && QFile::exists(m_cdromFile))
        QFile::remove(m_cdromFile);
}

int CPageSet::Create(const QString &address, const QString &root, const QString &welcomePath,
                     int browserV4, const QString &autoPlay, const QString &playEveryFrame)
{
    TRACE("CPageSet::Create()");
    m_address = address;
    m_root = root;
    m_welcomePath = welcomePath;
    m_blurOnPush = browserV4;
    m_autoPlay = autoPlay;
    m_playEveryFrame = playEveryFrame;
    m_writeFailed = 0;
    m_greetingFile = PageFile(root, "VF"_L1, address);
    m_controlFile = PageFile(root, "VS"_L1, address);
    m_cdromFile = PageFile(root, "VC"_L1, address);
    const QString controlName = "VS"_L1 + address + ".htm"_L1;
    const int greetingWritten = WritePage(m_greetingFile, GreetingPageText(controlName));
    const int controlWritten = WriteControlPage(welcomePath, kFirstRefreshSecs);
    m_writeFailed = greetingWritten && controlWritten ? 0 : 1;
    return m_writeFailed;
}

QString CPageSet::GreetingFileName() const
{
    return "VF"_L1 + m_address + ".htm"_L1;
}

int CPageSet::WriteControlPage(const QString &pushedAddress, int refreshSecs)
{
    m_pushing = pushedAddress.isEmpty() ? 0 : 1;
    m_mainWindowLost = 0;
    m_loggingOff = 0;
    return WritePage(
        m_controlFile,
        ControlPageText(pushedAddress, refreshSecs, m_blurOnPush, "VX"_L1 + m_address + ".htm"_L1));
}

int CPageSet::WriteLostPage(const QString &pushedAddress, int refreshSecs)
{
    m_pushing = 0;
    m_mainWindowLost = 1;
    m_loggingOff = 0;
    return WritePage(m_controlFile,
                     LostPageText(pushedAddress, refreshSecs, "VR"_L1 + m_address + ".htm"_L1));
}

int CPageSet::WriteLogoffPage(const QString &logoffAddress)
{
    m_pushing = 1;
    m_mainWindowLost = 0;
    m_loggingOff = 1;
    return WritePage(m_controlFile, LogoffPageText(logoffAddress));
}

int CPageSet::WriteCdromPage(const QString &contentPath, const QString &image)
{
    return WritePage(m_cdromFile, CdromPageText(contentPath, image, m_autoPlay, m_playEveryFrame));
}

int CPageSet::WritePage(const QString &fileName, const QByteArray &page)
{
    const int error = WriteWholeFile(fileName, WithCrLf(page));
    if (error == 0)
        return 1;
    ShowMessageBoxLater(FileErrorText(error, fileName), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}
