#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The start-up splash: the splash bitmap in a small window over the main frame for 2.5 seconds,
// gone sooner at a click or a key press anywhere.
class CSplashWnd : public QWidget
{
public:
    static constexpr int kShowMs = 2500;

    ~CSplashWnd() override;

    // Set from the command line before the main frame is made.
    static void EnableSplashScreen(bool enable) { c_bShowSplashWnd = enable; }
    // At the end of the main frame's creation; nothing when off or already shown, or when the
    // bitmap cannot be loaded.
    static void ShowSplashScreen(QWidget *mainWindow);
    // Every message of the program passes here first; true when it dismissed the splash and
    // is swallowed.
    static bool PreTranslateAppMessage(const QEvent *event);
    static CSplashWnd *Current() { return c_pSplashWnd; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    CSplashWnd(const QPixmap &bitmap, QWidget *mainWindow);
    void HideSplashScreen();

    static bool c_bShowSplashWnd;
    static CSplashWnd *c_pSplashWnd;

    QPixmap m_bitmap;
    QWidget *m_pMainWindow;
    QTimer m_timer;
};
