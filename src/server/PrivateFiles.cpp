#include "PrivateFiles.h"

#include "HttpFormat.h"

#include <QFile>

#include <atomic>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

std::atomic_uint g_logGeneration = 0;

// The log's identity, looked up once rather than for every request: again only when the log's
// name changes, when this program has written it, or when a file of the log's own name is asked
// for (the log may have been made anew since).
struct CLogIdentity
{
    QString m_name; // as the session names it
    QString m_fileName; // its last part
    QString m_root;
    QString m_pathInRoot; // where a file of the log's name sits in the root folder
    unsigned m_generation = 0;
    bool m_known = false;
    bool m_exists = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;

    void LookUp(const QString &name, const QString &root)
    {
        m_name = name;
        const QString path = QString(name).replace(u'\\', u'/');
        m_fileName = path.sliced(path.lastIndexOf(u'/') + 1);
        m_root = root;
        m_pathInRoot = m_fileName.isEmpty() ? QString()
                                            : MapRequestPath(root, QFile::encodeName(m_fileName));
        m_generation = g_logGeneration.load();
        m_known = true;
        struct stat status
        {
        };
        m_exists = ::stat(QFile::encodeName(path).constData(), &status) == 0;
        m_device = status.st_dev;
        m_inode = status.st_ino;
    }
};

} // namespace

bool IsPrivateFile(const QString &path, const struct stat &status, const QString &logFileName,
                   const QString &root)
{
    if (path.endsWith(".vnt"_L1, Qt::CaseInsensitive)
        || path.endsWith(".vns"_L1, Qt::CaseInsensitive))
        return true;
    if (logFileName.isEmpty())
        return false;
    static CLogIdentity log;
    if (!log.m_known || log.m_name != logFileName || log.m_root != root
        || log.m_generation != g_logGeneration.load()
        || QStringView(path).sliced(path.lastIndexOf(u'/') + 1) == log.m_fileName)
        log.LookUp(logFileName, root);
    if (!log.m_pathInRoot.isEmpty() && path == log.m_pathInRoot)
        return true;
    return log.m_exists && log.m_device == status.st_dev && log.m_inode == status.st_ino;
}

void ForgetLogIdentity()
{
    ++g_logGeneration;
}
