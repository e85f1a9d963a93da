#pragma once

#include <QWebEngineView>

class CWebPage;

// The embedded browser with the operations the operator window uses: navigation, history,
// the current page's address and title, the busy state and the edit commands. Right clicks
// ask the owner for its menu instead of showing the engine's own.
class CWebBrowser : public QWebEngineView
{
    Q_OBJECT
public:
    explicit CWebBrowser(QWidget *parent = nullptr);

    // Loads the address as typed ("about:blank", "host/page.htm" and full addresses).
    void Navigate(const QString &address);
    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();

    QString LocationName() const;
    QString LocationURL() const;
    // True from the start of a page load until it finished.
    bool Busy() const;
    // A page is loaded or loading, even "about:blank".
    bool HasDocument() const;

Q_SIGNALS:
    void BeforeNavigate2(const QString &url, const QString &targetFrameName);
    void ContextMenuRequested(const QPoint &globalPos);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    CWebPage *m_pPage;
};
