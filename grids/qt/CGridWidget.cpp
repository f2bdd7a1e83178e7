#include "grids/qt/CGridWidget.h"

#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>

namespace zor::grids::qt {

namespace {

constexpr int WheelNotch = 120; // angle delta of one wheel step
constexpr int DragStrip = 3;    // pixels repainted each side of a drag line

QRect ToQRect(const draw::Rect& r) {
    return {r.left, r.top, r.Width(), r.Height()};
}

ScrollAction ActionOf(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return ScrollAction::LineBack;
    case QAbstractSlider::SliderSingleStepAdd:
        return ScrollAction::LineForward;
    case QAbstractSlider::SliderPageStepSub:
        return ScrollAction::PageBack;
    case QAbstractSlider::SliderPageStepAdd:
        return ScrollAction::PageForward;
    case QAbstractSlider::SliderToMinimum:
        return ScrollAction::Start;
    case QAbstractSlider::SliderToMaximum:
        return ScrollAction::End;
    default:
        return ScrollAction::Thumb;
    }
}

} // namespace

CGridWidget::CGridWidget(CGridView& view, QWidget* parent)
    : QWidget(parent), view_(view), h_(new QScrollBar(Qt::Horizontal, this)),
      v_(new QScrollBar(Qt::Vertical, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    view_.SetScrollBarSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    h_->setSingleStep(ScrollLinePixels);
    v_->setSingleStep(1);
    h_->hide();
    v_->hide();
    connect(h_, &QScrollBar::actionTriggered, this, &CGridWidget::HorizontalAction);
    connect(v_, &QScrollBar::actionTriggered, this, &CGridWidget::VerticalAction);
    connect(h_, &QScrollBar::valueChanged, this, &CGridWidget::HorizontalMoved);
    connect(v_, &QScrollBar::valueChanged, this, &CGridWidget::VerticalMoved);
}

void CGridWidget::SyncWithView() {
    view_.SetClientSize({width(), height()});
    const GridWindowLayout l = view_.WindowLayout();
    syncing_ = true;
    h_->setRange(0, l.maxScrollX);
    h_->setPageStep(std::max(1, l.visibleWidth));
    h_->setValue(view_.ScrollX());
    v_->setRange(0, l.maxTopRow);
    v_->setPageStep(std::max(1, l.pageRows));
    v_->setValue(view_.TopRow());
    h_->setGeometry(ToQRect(l.horizontalBarRect));
    v_->setGeometry(ToQRect(l.verticalBarRect));
    h_->setVisible(l.horizontalBar && !l.horizontalBarRect.IsEmpty());
    v_->setVisible(l.verticalBar && !l.verticalBarRect.IsEmpty());
    syncing_ = false;
}

void CGridWidget::paintEvent(QPaintEvent* e) {
    ++paints_;
    QPainter painter(this);
    draw::QtDeviceContext dc(painter, draw::QtTextMeasurer::Screen());
    const QRect r = e->rect();
    const GridPaintStats s = view_.Paint(dc, {0, 0, width(), height()},
                                         {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    painted_.title |= s.title;
    painted_.header |= s.header;
    painted_.footer |= s.footer;
    painted_.rows += s.rows;
    view_.DrawDragLine(dc);
}

void CGridWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    SyncWithView();
}

void CGridWidget::RepaintRows(bool header) {
    const GridWindowLayout l = view_.WindowLayout();
    QRect r = ToQRect(l.list);
    if (header) r = r.united(ToQRect(l.header));
    update(r);
}

void CGridWidget::RepaintLine(int x) {
    const GridWindowLayout l = view_.WindowLayout();
    update(QRect(x - DragStrip, l.header.top, 2 * DragStrip + 1, l.list.bottom - l.header.top));
}

void CGridWidget::HorizontalAction(int action) {
    // The view's steps (lines of 8 pixels, pages of two thirds) rather than the bar's own.
    if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
    const ScrollAction a = ActionOf(action);
    if (a == ScrollAction::Thumb) return;
    const GridWindowLayout l = view_.WindowLayout();
    h_->setSliderPosition(HorizontalScroll(view_.ScrollX(), a, 0, l));
}

void CGridWidget::VerticalAction(int action) {
    if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
    const ScrollAction a = ActionOf(action);
    if (a == ScrollAction::Thumb) return;
    const GridWindowLayout l = view_.WindowLayout();
    v_->setSliderPosition(VerticalScroll(view_.TopRow(), a, 0, l));
}

void CGridWidget::HorizontalMoved(int value) {
    if (syncing_) return;
    if (view_.ScrollHorizontal(ScrollAction::Thumb, value)) RepaintRows(true);
}

void CGridWidget::VerticalMoved(int value) {
    if (syncing_) return;
    if (view_.ScrollVertical(ScrollAction::Thumb, value)) RepaintRows(false);
}

void CGridWidget::keyPressEvent(QKeyEvent* e) {
    bool moved = false, columns = false;
    switch (e->key()) {
    case Qt::Key_Up:
        moved = view_.KeyDown(GridKey::Up);
        break;
    case Qt::Key_Down:
        moved = view_.KeyDown(GridKey::Down);
        break;
    case Qt::Key_PageUp:
        moved = view_.KeyDown(GridKey::PageUp);
        break;
    case Qt::Key_PageDown:
        moved = view_.KeyDown(GridKey::PageDown);
        break;
    case Qt::Key_Left:
        moved = columns = view_.ScrollColumns(-1);
        break;
    case Qt::Key_Right:
        moved = columns = view_.ScrollColumns(1);
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    if (moved) {
        SyncWithView();
        RepaintRows(columns);
    }
}

void CGridWidget::wheelEvent(QWheelEvent* e) {
    const QPoint delta = e->angleDelta();
    wheelRemainderY_ += delta.y();
    wheelRemainderX_ += delta.x();
    const int stepsY = wheelRemainderY_ / WheelNotch, stepsX = wheelRemainderX_ / WheelNotch;
    wheelRemainderY_ -= stepsY * WheelNotch;
    wheelRemainderX_ -= stepsX * WheelNotch;
    const int lines = QApplication::wheelScrollLines();
    bool rows = false, columns = false;
    // Wheel up shows earlier rows; with Shift the wheel scrolls the columns.
    if (e->modifiers() & Qt::ShiftModifier)
        columns = view_.ScrollColumns(-(stepsY + stepsX) * lines);
    else {
        rows = view_.ScrollRows(-stepsY * lines);
        columns = stepsX != 0 && view_.ScrollColumns(-stepsX * lines);
    }
    if (rows || columns) {
        SyncWithView();
        RepaintRows(columns);
    }
    e->accept();
}

void CGridWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint at = e->position().toPoint();
    const int col = view_.HeaderEdgeAt({at.x(), at.y()});
    if (col < 0) return;
    // The pointer jumps onto the edge being dragged.
    const int x = view_.BeginColumnDrag(col);
    if (x != at.x()) QCursor::setPos(mapToGlobal(QPoint(x, at.y())));
    RepaintLine(x);
}

void CGridWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    if (const auto old = view_.DragLineX()) {
        const int x = view_.DragTo(at.x());
        if (x != *old) {
            RepaintLine(*old);
            RepaintLine(x);
        }
        return;
    }
    setCursor(view_.HeaderEdgeAt({at.x(), at.y()}) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void CGridWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !view_.Dragging()) return;
    if (view_.EndColumnDrag(e->position().toPoint().x())) {
        SyncWithView();
        RepaintRows(true);
    }
}

void CGridWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click during a drag cancels it.
    if (e->button() != Qt::LeftButton || !view_.Dragging()) return;
    const auto x = view_.DragLineX();
    view_.CancelColumnDrag();
    if (x) RepaintLine(*x);
}

bool CGridWidget::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString tip = QString::fromStdString(view_.TipAt({help->pos().x(), help->pos().y()}));
        if (tip.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(e);
}

QWidget* MakeGridWidget(charts::CView& view, charts::qt::CGraphFrame& frame) {
    auto* grid = dynamic_cast<CGridView*>(&view);
    return grid ? new CGridWidget(*grid, &frame) : nullptr;
}

} // namespace zor::grids::qt
