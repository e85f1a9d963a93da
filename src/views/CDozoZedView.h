#pragma once

#include "CView.h"
#include "ServerLinks.h"

class QMimeData;
class QTreeWidget;

// The activity list: one row per push, logon and time-out, newest at the top, each added row
// also written to the activity log. While it is the active view it tells the status bar whether
// a client is connected.
class CDozoZedView : public CView, public CActivityLink
{
public:
    enum Column { TitleColumn, ClientColumn, UrlColumn, TimeColumn, StatusColumn };

    explicit CDozoZedView(CDocument &document, QWidget *parent = nullptr);
    ~CDozoZedView() override;

    void AddActivity(const QString &user, const QString &address, bool sent) override;
    void MarkSent(const QString &address) override;
    void MarkNotDelivered(const QString &user, const QString &address) override;
    void MarkUnfetched(const QString &user, const QString &address, Unfetched why) override;
    // Every row of that address without a title gets this one.
    void SetTitleForAddress(const QString &address, const QString &title);

    QTreeWidget *List() const { return m_list; }
    // Wide enough for every column, a dozen rows high.
    QSize sizeHint() const override;

    // A drop on the list: only a script entry is taken, and its address goes to every user.
    static bool CanAccept(const QMimeData *formats);
    // True when the data carried a script entry; pushed only while a user is connected.
    bool Drop(const QMimeData *formats);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnUpdateConnectionState(CCmdUI &ui);

    QTreeWidget *m_list;
};
