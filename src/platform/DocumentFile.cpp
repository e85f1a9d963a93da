#include "DocumentFile.h"

#include "CArchive.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr auto DiskFullText = "Destination disk drive is full."_L1;
constexpr auto FailedToSaveText = "Failed to save document."_L1;

QString Title(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString ReadErrorText(int error, const QString &path)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return u"%1\nCannot find this file.\nPlease verify that the correct path and file name are given."_s
            .arg(Title(path));
    case EACCES:
    case EPERM:
        return u"Unable to read from %1, it is opened by someone else."_s.arg(Title(path));
    default:
        return u"Failed to open document."_s;
    }
}

QString WriteErrorText(int error, const QString &path)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return DiskFullText;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return u"Unable to write to %1, it is read-only or opened by someone else."_s.arg(
            Title(path));
    default:
        return FailedToSaveText;
    }
}

// Reads to the end of the file; errno tells why when it fails.
bool ReadAll(int fd, QByteArray &bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count > 0)
            bytes.append(buffer, count);
        else if (errno != EINTR)
            return false;
    }
}

} // namespace

QString ReadDocumentFile(const QString &path, QByteArray &bytes)
{
    // The file is opened directly so that errno names the cause the operator is told about.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ReadErrorText(errno, path);
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    QByteArray content;
    if (!ReadAll(fd, content))
        return ReadErrorText(errno, path);
    bytes = std::move(content);
    return {};
}

QString WriteDocumentFile(const QString &path, const QByteArray &bytes)
{
    // The bytes go to a temporary file beside the target that replaces it only once complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // QSaveFile keeps the errno of the temporary file's failed creation.
        return WriteErrorText(errno, path);
    }
    if (file.write(bytes) == bytes.size() && file.commit())
        return {};
    return file.error() == QFileDevice::ResourceError ? QString(DiskFullText)
                                                      : QString(FailedToSaveText);
}

QString LoadArchiveDocument(const QString &path, const std::function<void(CArchive &)> &load)
{
    QByteArray bytes;
    if (QString error = ReadDocumentFile(path, bytes); !error.isEmpty())
        return error;
    try {
        CArchive archive(std::move(bytes));
        load(archive);
    } catch (const CArchiveException &) {
        return u"Unexpected file format."_s;
    }
    return {};
}

QString SaveArchiveDocument(const QString &path, const std::function<void(CArchive &)> &store)
{
    CArchive archive;
    try {
        store(archive);
    } catch (const CArchiveException &) {
        return FailedToSaveText;
    }
    return WriteDocumentFile(path, archive.Bytes());
}
