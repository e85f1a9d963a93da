#pragma once

#include "CCmdTarget.h"

#include <QObject>
#include <QString>

class CArchive;
class CDocTemplate;

// The data of one window type, kept apart from the windows that show it so that documents and
// their rules run without widgets. Frames follow the document: they close when it closes.
class CDocument : public QObject, public CCmdTarget
{
    Q_OBJECT
public:
    // Framework commands a document handles.
    static constexpr int ID_FILE_SAVE = 57603;
    static constexpr int ID_FILE_SAVE_AS = 57604;

    CDocument();
    ~CDocument() override;

    const QString &GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString &title);
    const QString &GetPathName() const { return m_strPathName; }
    // Makes the path absolute, titles the document after the file and, when asked, puts the
    // path at the top of the recently-used list.
    virtual void SetPathName(const QString &path, bool addToMRU = true);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    CDocTemplate *GetDocTemplate() const { return m_pDocTemplate; }

    virtual bool OnNewDocument();
    // Loads the file through Serialize; a failure is reported with the framework's text.
    virtual bool OnOpenDocument(const QString &path);
    // Stores through Serialize into the file in one step; a failure leaves the old file.
    virtual bool OnSaveDocument(const QString &path);
    // Closes the document's frames and deletes the document once control returns to the loop.
    virtual void OnCloseDocument();
    virtual void Serialize(CArchive &archive);
    virtual void DeleteContents() { }

    // Asks "Save changes to ...?" when modified: false when the operator cancels or the save
    // fails, so that the close stops.
    virtual bool SaveModified();
    // Saves under the path, or asks for a name first when the path is empty.
    virtual bool DoSave(const QString &path);
    bool DoFileSave();

Q_SIGNALS:
    // The document is ready: its frames show themselves and fill their views.
    void InitialUpdate();
    // The document is closing: its frames go away.
    void Closing();
    // The title was set; frames that show it follow.
    void TitleChanged();

private:
    friend class CDocTemplate;

    QString m_strTitle;
    QString m_strPathName;
    bool m_bModified = false;
    CDocTemplate *m_pDocTemplate = nullptr;
};
