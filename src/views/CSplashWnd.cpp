#include "CSplashWnd.h"

#include "ResourceIds.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

using namespace Qt::StringLiterals;

bool CSplashWnd::c_bShowSplashWnd = false;
CSplashWnd *CSplashWnd::c_pSplashWnd = nullptr;

CSplashWnd::CSplashWnd(const QPixmap &bitmap, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_bitmap(bitmap)
    , m_pMainWindow(mainWindow)
{
    c_pSplashWnd = this;
    setFixedSize(bitmap.size());
    setCursor(Qt::ArrowCursor);
    // Centred on the screen while the main window is not shown yet, else over it.
    const QRect area = mainWindow->isVisible() ? mainWindow->geometry()
                                               : QGuiApplication::primaryScreen()->geometry();
    move(area.center() - rect().center());
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { HideSplashScreen(); });
    m_timer.start(kShowMs);
    // The main window is shown after it made the splash, and a window manager puts the newer
    // window on top: the splash comes back above it.
    mainWindow->installEventFilter(this);
}

bool CSplashWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pMainWindow
        && (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate))
        raise();
    return QWidget::eventFilter(watched, event);
}

CSplashWnd::~CSplashWnd()
{
    if (c_pSplashWnd == this)
        c_pSplashWnd = nullptr;
}

void CSplashWnd::ShowSplashScreen(QWidget *mainWindow)
{
    if (!c_bShowSplashWnd || c_pSplashWnd)
        return;
    const QPixmap bitmap(u":/bitmaps/%1.png"_s.arg(IDB_SPLASH));
    if (bitmap.isNull())
        return;
    auto *splash = new CSplashWnd(bitmap, mainWindow);
    splash->show();
    splash->repaint();
}

bool CSplashWnd::PreTranslateAppMessage(const QEvent *event)
{
    if (!c_pSplashWnd)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        c_pSplashWnd->HideSplashScreen();
        return true;
    default:
        return false;
    }
}

void CSplashWnd::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
    // The thin border lies on the bitmap's edge, so that the window keeps the bitmap's size.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSplashWnd::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        HideSplashScreen();
}

// The window goes once control returns to the loop, as it may be the receiver of the event
// that dismissed it; from now on every message passes.
void CSplashWnd::HideSplashScreen()
{
    c_pSplashWnd = nullptr;
    hide();
    deleteLater();
    m_pMainWindow->repaint();
}
