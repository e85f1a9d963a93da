#pragma once

#include <QWebEnginePage>

// The browser's page: tells of every navigation it is about to make, top-level and frames
// alike, and never cancels one.
class CWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit CWebPage(QObject *parent = nullptr);

Q_SIGNALS:
    // The engine names no frame, so a frame navigation carries the frame's own address as
    // its target; a top-level navigation carries an empty one.
    void BeforeNavigate2(const QString &url, const QString &targetFrameName);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};
