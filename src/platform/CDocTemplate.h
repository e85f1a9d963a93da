#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CDocument;

// One window type: how to make its document and its frame, and the strings that name it (seven
// parts separated by "\n": window title, document name, new-file name, filter name, filter
// extension, file type id, file type name).
class CDocTemplate
{
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    using DocumentFactory = std::function<CDocument *()>;
    // Makes the frame and view of a document; false when the window cannot be made.
    using FrameFactory = std::function<bool(CDocument &)>;

    CDocTemplate(int resourceId, const QString &strings, DocumentFactory createDocument);
    virtual ~CDocTemplate();

    int GetResourceId() const { return m_nIDResource; }
    QString GetDocString(DocStringIndex index) const;
    // The filter name and its pattern, for file dialogs; empty without an extension.
    QStringList FileFilters() const;
    bool MatchesExtension(const QString &path) const;

    // Windows come from the GUI; without a factory the documents live alone (tests, tools).
    void SetFrameFactory(FrameFactory createFrame) { m_createFrame = std::move(createFrame); }

    // An empty path makes a new document; otherwise the file is opened. Null when the document
    // or its window could not be made, or the open or new step failed.
    virtual CDocument *OpenDocumentFile(const QString &path);

    const QList<CDocument *> &GetDocuments() const { return m_documents; }
    void RemoveDocument(CDocument *document);

private:
    CDocument *CreateNewDocument();
    // Drops a document that failed before the operator saw it, at once, so that a failed
    // open leaves no trace for the next command.
    void Discard(CDocument *document);

    int m_nIDResource;
    QStringList m_strings;
    DocumentFactory m_createDocument;
    FrameFactory m_createFrame;
    QList<CDocument *> m_documents;
    int m_nUntitledCount = 0;
};
