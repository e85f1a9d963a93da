#include "CLogFile.h"

#include "CDozoZedDoc.h"
#include "Cp1252.h"
#include "PrivateFiles.h"
#include "Trace.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

QString CLogFile::Path()
{
    QString path = g_pSessionDoc->m_options.m_logFileName;
    return path.replace(u'\\', u'/');
}

void CLogFile::Write(const QString &text)
{
    if (!g_pSessionDoc)
        return;
    const int file = ::open(QFile::encodeName(Path()).constData(),
                            O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
        TRACE("\t_open failed");
        return;
    }
    QByteArray bytes = ToCp1252(text);
    bytes.replace("\n", "\r\n");
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(file, bytes.constData() + written,
                                      static_cast<size_t>(bytes.size() - written));
        if (count <= 0)
            break;
        written += count;
    }
    ::close(file);
    // It may have been made just now.
    ForgetLogIdentity();
}

void CLogFile::Clear()
{
    TRACE("CLogFile::Clear()");
    if (!g_pSessionDoc)
        return;
    const int file = ::open(QFile::encodeName(Path()).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (file >= 0)
        ::close(file);
}
