#include "CRecentFileList.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString Group = u"Recent File List"_s;

QString Key(int index)
{
    return u"File%1"_s.arg(index + 1);
}

} // namespace

CRecentFileList::CRecentFileList(int size)
    : m_size(size)
{ }

void CRecentFileList::Add(const QString &path)
{
    m_items.removeAll(path);
    m_items.prepend(path);
    while (m_items.size() > m_size)
        m_items.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_items.size())
        m_items.removeAt(index);
}

void CRecentFileList::ReadList(QSettings &settings)
{
    settings.beginGroup(Group);
    m_items.clear();
    for (int index = 0; index < m_size; ++index) {
        const QString path = settings.value(Key(index)).toString();
        if (!path.isEmpty())
            m_items.append(path);
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings &settings) const
{
    settings.beginGroup(Group);
    settings.remove(QString());
    for (int index = 0; index < m_items.size(); ++index)
        settings.setValue(Key(index), m_items.at(index));
    settings.endGroup();
}
