#include "CdromDrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

using namespace Qt::StringLiterals;

namespace {

// The mount table writes a space, tab, line feed or backslash in a field as a three-digit
// octal escape.
QString UnescapeMountField(const QByteArray &field)
{
    QByteArray plain;
    for (qsizetype index = 0; index < field.size(); ++index) {
        const QByteArray digits = field.mid(index + 1, 3);
        bool octal = field.at(index) == '\\' && digits.size() == 3;
        const int value = octal ? digits.toInt(&octal, 8) : 0;
        if (octal) {
            plain.append(static_cast<char>(value));
            index += 3;
        } else {
            plain.append(field.at(index));
        }
    }
    return QFile::decodeName(plain);
}

// The kernel's SCSI device type 5 is a CD-ROM or DVD drive.
bool IsOpticalDevice(const QString &device)
{
    if (!device.startsWith(u"/dev/"_s))
        return false;
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (name.isEmpty())
        return false;
    QFile type(u"/sys/class/block/%1/device/type"_s.arg(name));
    return type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "5";
}

} // namespace

QString FirstOpticalMount(const QByteArray &mounts, const OpticalDeviceCheck &isOptical)
{
    for (const QByteArray &line : mounts.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const QByteArray &fileSystem = fields.at(2);
        if (fileSystem == "iso9660" || fileSystem == "udf"
            || (isOptical && isOptical(UnescapeMountField(fields.at(0)))))
            return UnescapeMountField(fields.at(1));
    }
    return {};
}

QString FindCdromMountPoint()
{
    QFile mounts(u"/proc/self/mounts"_s);
    if (!mounts.open(QIODevice::ReadOnly))
        return {};
    return FirstOpticalMount(mounts.readAll(), &IsOpticalDevice);
}

QString PathOnMedium(const QString &path, const QString &mountPoint)
{
    if (mountPoint.isEmpty())
        return path;
    QString root = QDir::cleanPath(mountPoint);
    if (!root.endsWith(u'/'))
        root += u'/';
    return path.startsWith(root) ? path.mid(root.size()) : path;
}
