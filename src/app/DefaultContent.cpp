#include "DefaultContent.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString PrepareDefaultContent()
{
    const QString folder
        = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/content"_s;
    QDir().mkpath(folder);
    QDirIterator samples(u":/content"_s, QDir::Files);
    while (samples.hasNext()) {
        const QString sample = samples.next();
        const QString target = folder + u'/' + samples.fileName();
        if (!QFile::exists(target) && QFile::copy(sample, target))
            QFile::setPermissions(
                target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return folder;
}
