#include "CControlBar.h"

#include "CDialog.h"
#include "CVantroTree.h"
#include "ResourceIds.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QRubberBand>

using namespace Qt::StringLiterals;

CControlBar::CControlBar(QWidget *parent)
    : QWidget(parent)
    , m_tree(new CVantroTree(this))
{
    setWindowTitle(u"Vantro Control"_s);
    CDialog::SetControlId(this, IDD_CONTROL_BAR);
    CDialog::SetControlId(m_tree, IDC_TREE);
    setMouseTracking(true);
    setFixedWidth(kDefaultWidth);
}

void CControlBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !OverGrip(event->position().toPoint().x()))
        return QWidget::mousePressEvent(event);
    m_tracker = new QRubberBand(QRubberBand::Line, parentWidget());
    MoveTracker(width());
    m_tracker->show();
}

void CControlBar::mouseMoveEvent(QMouseEvent *event)
{
    const int x = event->position().toPoint().x();
    if (!m_tracker) {
        setCursor(OverGrip(x) ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    // The tracker stays put over the narrowest widths.
    if (x > kMinimumWidth)
        MoveTracker(x);
}

void CControlBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_tracker)
        return QWidget::mouseReleaseEvent(event);
    delete m_tracker;
    m_tracker = nullptr;
    setFixedWidth(std::max(event->position().toPoint().x(), kMinimumWidth));
}

// The tracker is a thin band 3 pixels right of the width it stands for.
void CControlBar::MoveTracker(int x)
{
    const QPoint origin = mapTo(parentWidget(), QPoint(x + 3, 0));
    m_tracker->setGeometry(origin.x(), origin.y(), 5, height());
}

// The tree fills the bar less a margin of three dialog units on each side.
void CControlBar::resizeEvent(QResizeEvent *event)
{
    const QFontMetrics metrics(font());
    const int marginX = metrics.averageCharWidth() * 3 / 4;
    const int marginY = metrics.height() * 3 / 8;
    m_tree->setGeometry(rect().adjusted(marginX, marginY, -marginX, -marginY));
    QWidget::resizeEvent(event);
}
