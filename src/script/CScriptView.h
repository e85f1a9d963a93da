#pragma once

#include "CView.h"

#include <QIcon>

class CMDIChildWnd;
class COperatorWindow;
class CScriptDoc;
class CScriptList;

// The script window's list: title and address of every entry, the marker on the entry Push
// Next sends next. Push Selected and Push Next send entries to the users through the operator
// window; entries drag out to other scripts and programs, and in from other scripts.
class CScriptView : public CView
{
public:
    static constexpr int kTitleWidth = 200;
    static constexpr int kUrlWidth = 300;
    static const QString kNoClients;

    CScriptView(CScriptDoc &document, CMDIChildWnd *frame, QWidget *parent = nullptr);

    CScriptDoc &Document() const { return m_document; }
    CScriptList *List() const { return m_list; }
    // Wide enough for both columns, ten rows high.
    QSize sizeHint() const override;

    // Shows the document's entries again, the marker on the current one.
    void Update();
    void OnPushSelected();
    void OnPushNext();
    // The row under the marker; -1 when no row carries it.
    int MarkedRow() const;

protected:
    void OnInitialUpdate() override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void RegisterCommands();
    void SetMarker(int row, bool on);
    COperatorWindow *OpenOperatorWindowBehind();

    CScriptDoc &m_document;
    CMDIChildWnd *m_pFrame;
    CScriptList *m_list;
    QIcon m_marker;
};
