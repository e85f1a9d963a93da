#include "FileDialog.h"

using namespace Qt::StringLiterals;

namespace {

FileDialogHandler &Handler()
{
    static FileDialogHandler handler;
    return handler;
}

} // namespace

QString ShowFileDialog(const FileDialogRequest &request)
{
    const auto &handler = Handler();
    return handler ? handler(request) : QString();
}

void SetFileDialogHandler(FileDialogHandler handler)
{
    Handler() = std::move(handler);
}

QString FileDialogRequest::NameFilters() const
{
    QStringList names;
    for (qsizetype index = 0; index + 1 < m_filters.size(); index += 2) {
        // The names carry their Windows patterns already; the patterns given beside them count.
        QString name = m_filters.at(index);
        const qsizetype open = name.lastIndexOf(" ("_L1);
        if (open > 0 && name.endsWith(u')'))
            name.truncate(open);
        const QString patterns = QString(m_filters.at(index + 1)).replace(u';', u' ');
        names.append(name + " ("_L1 + patterns + u')');
    }
    return names.join(";;"_L1);
}
