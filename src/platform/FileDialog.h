#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A file chooser request: an open or a save-as dialog.
struct FileDialogRequest
{
    bool m_open = true;
    QString m_title;
    QString m_defaultExt; // such as ".vnt"
    // Pairs of a name and its patterns, "Vantro Session Settings (*.vnt)" then "*.vnt".
    QStringList m_filters;
    QString m_folder;
    QString m_fileName;
    bool m_overwritePrompt = false;

    // The filters in the toolkit's form, ";;" between them: each name with the patterns it
    // really matches here, "All Files (*)" for "*.*".
    QString NameFilters() const;
};

// The chosen path, or an empty string when the operator cancelled.
using FileDialogHandler = std::function<QString(const FileDialogRequest &)>;

// Shows a file dialog through the installed handler. Without one (headless) it is cancelled.
QString ShowFileDialog(const FileDialogRequest &request);
void SetFileDialogHandler(FileDialogHandler handler);
