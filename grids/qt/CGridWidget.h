// The client widget of a grid view in its frame: paints the four bands through the view, keeps
// two scroll bars over the row list in step with the view's scroll positions, scrolls with the
// keys (Up, Down, Page Up, Page Down; Left and Right by lines) and the wheel, resizes columns by
// dragging a header edge (with the XOR line while dragging) and shows the whole text of a cut
// cell as a tooltip. It repaints only the parts that changed.
#pragma once

#include "charts/qt/CGraphFrame.h"
#include "grids/CGridView.h"

#include <QScrollBar>
#include <QWidget>

namespace zor::grids::qt {

class CGridWidget : public QWidget, public charts::qt::ViewWidgetSync {
    Q_OBJECT
public:
    CGridWidget(CGridView& view, QWidget* parent = nullptr);

    QScrollBar* HorizontalBar() const { return h_; }
    QScrollBar* VerticalBar() const { return v_; }
    // Paints so far, and what they drew in total (for the tests of partial repainting).
    int PaintCount() const { return paints_; }
    const GridPaintStats& Painted() const { return painted_; }
    void ResetPainted() { painted_ = {}; }

    // The scroll bars' ranges, positions and places from the view (after it changed).
    void SyncWithView() override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    void HorizontalAction(int action);
    void VerticalAction(int action);
    void HorizontalMoved(int value);
    void VerticalMoved(int value);
    // Repaints the rows (and the header when the columns moved).
    void RepaintRows(bool header);
    // Repaints a thin strip around a drag line position.
    void RepaintLine(int x);

    CGridView& view_;
    QScrollBar* h_;
    QScrollBar* v_;
    bool syncing_ = false;
    int paints_ = 0;
    GridPaintStats painted_;
    int wheelRemainderY_ = 0, wheelRemainderX_ = 0;
};

// The grid widget for a CGridView; nullptr for other views.
QWidget* MakeGridWidget(charts::CView& view, charts::qt::CGraphFrame& frame);

} // namespace zor::grids::qt
