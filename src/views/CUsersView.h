#pragma once

#include "CView.h"

#include <QTimer>

class CUserInfo;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The users window's list: one row per user the navigation tree knows, with name, address and
// status, kept current by the tree's hints; "Logoff..." logs the selected users off. Rows hold
// copies of what the hints said, so that no row points into the tree's own records.
class CUsersView : public CView
{
public:
    enum Column { UserColumn, AddressColumn, StatusColumn, ChatColumn };
    static constexpr int kEnableTimerMs = 125;
    static constexpr int kMargin = 5;

    explicit CUsersView(CDocument &document, QWidget *parent = nullptr);
    ~CUsersView() override;

    QTreeWidget *List() const { return m_list; }
    QPushButton *LogoffButton() const { return m_logoff; }
    QPushButton *InfoButton() const { return m_info; }
    // Wide enough for every column, with eight rows above the buttons.
    QSize sizeHint() const override;

    // A tree hint (101 added, 102 removed, 103 state changed); a hint without a record does
    // nothing.
    void OnUpdate(int hint, const CUserInfo *user);
    // Asks about the selected users and, on Yes, logs each of them off.
    void OnLogoff();
    // "Logoff..." is enabled exactly while some row is selected.
    void OnEnableTimer();
    // Opens the chat with the current row's user.
    void OnChatWithUser();
    // The user's Chat column says "Unread" while the user has chat messages the operator has
    // not seen.
    void MarkUnread(const QString &key, bool unread);

protected:
    void OnInitialUpdate() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void CreateColumns();
    void LayOut(int cx, int cy);
    void AppendRow(const CUserInfo &user);
    QTreeWidgetItem *FindRow(const QString &key) const;
    QList<QTreeWidgetItem *> SelectedRows() const;

    QLabel *m_label;
    QTreeWidget *m_list;
    QPushButton *m_info;
    QPushButton *m_logoff;
    QTimer m_enableTimer;
};

// The users view while it exists: the navigation tree sends its hints to its document.
extern CUsersView *g_pUsersView;
