#pragma once

#include "CFollowMode.h"
#include "CView.h"
#include "OperatorWindowType.h"

class CWebBrowser;
class QComboBox;
class QLabel;

// The operator's own browser: an address box with the typed-address history above the
// embedded browser. In follow mode every navigation is pushed to every user; the usual browser
// commands, Open Location, printing and the program's own context menu live here.
class COperatorView : public CView, public COperatorWindow
{
public:
    explicit COperatorView(CDocument &document, QWidget *parent = nullptr);
    ~COperatorView() override;

    // The single entry for loading an address.
    bool Navigate(const QString &address) override;
    bool IsFollowing() const override { return m_follow.IsOn(); }

    void Activate() override;
    void OnOpenLocation() override;
    void OnToggleFollowMode();
    void OnAddFavorite();
    void OnContextMenu(const QPoint &globalPos);
    // Shows the frames warning; runs after the navigation that entered the framed page.
    void OnFramesWarning();

    // "Turn Follow Mode off/on" and "Push "title" (address)"; empty for other commands.
    QString GetMessageString(int id) const;
    void FocusBrowser();

    CWebBrowser *Browser() const { return m_pBrowser; }
    QComboBox *AddressBox() const { return m_pAddress; }
    // Pages want room: the window opens large, within the main window's area.
    QSize sizeHint() const override { return {900, 700}; }
    const CFollowMode &FollowMode() const { return m_follow; }
    QString LastStatusText() const { return m_strStatusText; }

protected:
    void OnInitialUpdate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void RegisterCommands();
    void ConnectBrowser();
    void NavigateToFirstPage();
    void OnBeforeNavigate2(const QString &url, const QString &targetFrameName);
    bool IsFirstPageNavigation(const QString &url, const QString &targetFrameName);
    void OnNavigateComplete2(const QString &url);
    void OnTitleChange(const QString &text);
    void OnStatusTextChange(const QString &text);
    void OnAddressEnter();
    void OnAddressSelected(int index);
    void SetTitle(const QString &title);
    void Print();
    void PageSetup();

    QLabel *m_pWebIcon;
    QLabel *m_pAddressLabel;
    QComboBox *m_pAddress;
    CWebBrowser *m_pBrowser;
    // Set by an Enter in the address box: the next completed navigation joins the history.
    bool m_bTypedNavigation = false;
    // An Enter in the address box is handled as typed, not again as a chosen entry.
    bool m_bEnterPending = false;
    // The page the window opens on is the operator's alone: opening the window mid-talk must
    // not pull every user back to it. Follow mode pushes from the next navigation on.
    enum class FirstPage { Asked, Loading, Shown };
    FirstPage m_firstPage = FirstPage::Shown;
    QString m_strFirstPage; // as the engine names it
    CFollowMode m_follow;
    QString m_strStatusText;
};
