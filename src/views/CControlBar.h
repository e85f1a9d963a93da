#pragma once

#include <QWidget>

class CVantroTree;
class QRubberBand;

// The left control bar, "Vantro Control": the navigation tree's place, its width set by
// dragging its right edge (never below 50 pixels).
class CControlBar : public QWidget
{
public:
    static constexpr int kDefaultWidth = 175;
    static constexpr int kMinimumWidth = 50;
    static constexpr int kGripWidth = 8;

    explicit CControlBar(QWidget *parent = nullptr);

    CVantroTree *Tree() const { return m_tree; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool OverGrip(int x) const { return x >= width() - kGripWidth; }
    void MoveTracker(int x);

    CVantroTree *m_tree;
    QRubberBand *m_tracker = nullptr;
};
