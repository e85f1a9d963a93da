#include "CPageSet.h"

#include "FileErrors.h"
#include "PageText.h"
#include "PageWriteFaults.h"
#include "Trace.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
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

// Writes all the bytes; 0 on success, else the errno of the failing write.
int WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count
            = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? errno : EIO;
        written += count;
    }
    return 0;
}

// A hidden name beside the file, for writing it before it takes the file's place.
QByteArray TemporaryName(const QByteArray &fileName)
{
    const qsizetype slash = fileName.lastIndexOf('/');
    return fileName.left(slash + 1) + '.' + fileName.mid(slash + 1) + ".part";
}

// Writes the file under a temporary name and renames it into place, so that the file is
// replaced whole or not at all: a full disk cannot leave half a page to be served. 0 on
// success, else the errno of the failing step.
int WriteWholeFile(const QString &fileName, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(fileName);
    const QByteArray temporary = TemporaryName(target);
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, bytes);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // The old file goes before the new one takes its name: renaming over it would have ext4 start
    // writing the new one to disk at once, which on a busy disk holds up every push by
    // milliseconds per user. Pages are read on this thread only, so none is asked for between.
    if (error == 0 && ::unlink(target.constData()) != 0 && errno != ENOENT)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.constData());
    return error;
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
    const QByteArray page = pushedAddress.isEmpty() && m_chatWaiting
        ? ChatWaitingPageText(refreshSecs, "VT"_L1 + m_address + ".htm"_L1)
        : ControlPageText(pushedAddress, refreshSecs, m_blurOnPush,
                          "VX"_L1 + m_address + ".htm"_L1);
    return SetControlPage({pushedAddress.isEmpty() ? 0 : 1, 0, 0}, page);
}

int CPageSet::SetChatWaiting(bool waiting, int refreshSecs)
{
    if (m_chatWaiting == (waiting ? 1 : 0))
        return 1;
    m_chatWaiting = waiting ? 1 : 0;
    if (m_pushing || m_mainWindowLost)
        return 1;
    return WriteControlPage(QString(), refreshSecs);
}

int CPageSet::WriteLostPage(const QString &pushedAddress, int refreshSecs)
{
    return SetControlPage(
        {0, 1, 0}, LostPageText(pushedAddress, refreshSecs, "VR"_L1 + m_address + ".htm"_L1));
}

int CPageSet::WriteLogoffPage(const QString &logoffAddress)
{
    return SetControlPage({1, 0, 1}, LogoffPageText(logoffAddress));
}

// The control page's state follows its file: a push whose page could not be written is no
// push. The idle page is taken even so, since the push it follows was delivered and must not be
// delivered again; its file is written again when the page is next asked for.
int CPageSet::SetControlPage(const ControlState &state, const QByteArray &page)
{
    const int written = WritePage(m_controlFile, page);
    m_controlWriteFailed = written ? 0 : 1;
    if (!written && (state.pushing || state.mainWindowLost))
        return 0;
    m_pushing = state.pushing;
    m_mainWindowLost = state.mainWindowLost;
    m_loggingOff = state.loggingOff;
    m_controlPage = page;
    m_controlStale = m_controlWriteFailed;
    return written;
}

bool CPageSet::ControlPageNeedsWriting() const
{
    return m_controlStale || !QFile::exists(m_controlFile);
}

int CPageSet::RestoreControlPage()
{
    const int written = WritePage(m_controlFile, m_controlPage);
    m_controlWriteFailed = written ? 0 : 1;
    m_controlStale = m_controlWriteFailed;
    return written;
}

int CPageSet::WriteCdromPage(const QString &contentPath, const QString &image)
{
    return WritePage(m_cdromFile, CdromPageText(contentPath, image, m_autoPlay, m_playEveryFrame));
}

int CPageSet::WritePage(const QString &fileName, const QByteArray &page)
{
    const int error = WriteWholeFile(fileName, WithCrLf(page));
    if (error == 0) {
        NotePageWriteSucceeded();
        return 1;
    }
    NotePageWriteFailed(FileErrorText(error, fileName));
    return 0;
}
