#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Where the CD-ROM browse of the Manual Push dialog starts: the first mounted optical medium.

// Whether a block device (such as "/dev/sr0") is an optical drive.
using OpticalDeviceCheck = std::function<bool(const QString &device)>;

// The mount point of the first optical medium in a mount table of the /proc/self/mounts form,
// in mount order: an iso9660 or udf file system, or a device the check calls optical. Empty
// without one.
QString FirstOpticalMount(const QByteArray &mounts, const OpticalDeviceCheck &isOptical);
// The same over this machine's mount table and its block devices.
QString FindCdromMountPoint();
// A path on the medium relative to its mount point, as the users' CD-ROM finder page wants it;
// a path elsewhere is returned unchanged.
QString PathOnMedium(const QString &path, const QString &mountPoint);
