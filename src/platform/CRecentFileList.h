#pragma once

#include <QStringList>

class QSettings;

// The most recently used files, newest first, without repeats, at most a fixed number.
class CRecentFileList
{
public:
    explicit CRecentFileList(int size);

    void Add(const QString &path);
    void Remove(int index);
    const QStringList &Items() const { return m_items; }

    // The profile's "Recent File List" group, keys "File1", "File2", ...
    void ReadList(QSettings &settings);
    void WriteList(QSettings &settings) const;

private:
    int m_size;
    QStringList m_items;
};
