#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class CArchive;

// Whole-file reading and writing of documents. Each function returns an empty string when it
// worked and otherwise the framework's text for the operator, with the file's name in it.

// Reads the whole file into bytes.
QString ReadDocumentFile(const QString &path, QByteArray &bytes);
// Replaces the file with the bytes in one step: a failed save leaves the old file as it was.
QString WriteDocumentFile(const QString &path, const QByteArray &bytes);

// Hands the file's bytes to load as a loading archive; data that do not fit give
// "Unexpected file format.".
QString LoadArchiveDocument(const QString &path, const std::function<void(CArchive &)> &load);
// Lets store fill a storing archive and writes its bytes to the file.
QString SaveArchiveDocument(const QString &path, const std::function<void(CArchive &)> &store);
