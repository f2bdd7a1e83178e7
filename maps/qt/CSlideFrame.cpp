#include "maps/qt/CSlideFrame.h"

#include "charts/qt/FramePlacement.h"
#include "core/Ids.h"
#include "core/MenuCaptions.h"
#include "draw/qt/Render.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>

namespace zor::maps::qt {

namespace {

draw::Color ButtonFace(const QWidget* w) {
    const QColor c = w->palette().color(QPalette::Button);
    return draw::Rgb(c.red(), c.green(), c.blue());
}

} // namespace

CSlideView::CSlideView(CSlideFrame& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    setCursor(Qt::ArrowCursor);
}

void CSlideView::paintEvent(QPaintEvent*) {
    const draw::Raster* bitmap = frame_.Bitmap();
    if (!bitmap) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), draw::ImageOf(*bitmap));
}

void CSlideView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton)
        frame_.ShowMenu(e->globalPosition().toPoint());
    else
        QWidget::mouseReleaseEvent(e);
}

CSlideFrame::CSlideFrame(int frameCount, bool loop, SlideRenderer render, charts::qt::UiServices ui,
                         QWidget* owner)
    : QMainWindow(owner, (charts::qt::OwnedWindowFlags(owner) & Qt::WindowType_Mask) |
                             Qt::FramelessWindowHint),
      player_(frameCount), render_(std::move(render)), ui_(std::move(ui)), owner_(owner),
      mainWindow_(ui_.mainWindow) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ui_.Text(MenuSlideView, "Slide view"));
    view_ = new CSlideView(*this, this);
    setCentralWidget(view_);

    // The counter, then the progress bar at the right of the status bar.
    counter_ = new QLabel(this);
    counter_->setFixedWidth(50);
    counter_->setFont(statusBar()->font());
    progress_ = new QProgressBar(this);
    progress_->setFixedWidth(200);
    progress_->setTextVisible(false);
    progress_->setRange(0, player_.FrameCount() - 1);
    statusBar()->addPermanentWidget(counter_);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->setSizeGripEnabled(false);

    menu_ = new QMenu(this);
    auto add = [this](QMenu* menu, int id) {
        QAction* a = menu->addAction(QString::fromUtf8(CommandCaption(id)));
        if (ui_.setCommandId) ui_.setCommandId(a, id);
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
        return a;
    };
    QMenu* play = menu_->addMenu(QStringLiteral("Play"));
    add(play, CmdSlideSingle);
    add(play, CmdSlideContinue);
    add(menu_, CmdSlideStop);
    menu_->addSeparator();
    add(menu_, CmdSlideMaximized)->setCheckable(true);
    menu_->addSeparator();
    add(menu_, CmdQuit);

    timer_.setInterval(SlideIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &CSlideFrame::Tick);
    if (owner) setGeometry(owner->frameGeometry());
    loop_ = loop;
}

CSlideFrame::~CSlideFrame() {
    timer_.stop();
    for (const QPointer<QWidget>& w : disabled_)
        if (w) w->setEnabled(true);
    if (owner_ && owner_->isVisible()) owner_->activateWindow();
}

void CSlideFrame::Start() {
    show();
    progress_->setValue(0);
    player_.Play(loop_);
    timer_.start();
    DisableMainWindow();
}

void CSlideFrame::DisableMainWindow() {
    if (!mainWindow_) return;
    for (QWidget* w : mainWindow_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow() && w->isEnabled()) {
            w->setEnabled(false);
            disabled_.emplace_back(w);
        }
}

QAction* CSlideFrame::Action(int id) const {
    for (QAction* a : menu_->findChildren<QAction*>())
        if (a->data().toInt() == id) return a;
    return nullptr;
}

QMenu* CSlideFrame::Menu() {
    const bool playing = player_.Playing();
    Action(CmdSlideSingle)->setEnabled(!playing);
    Action(CmdSlideContinue)->setEnabled(!playing);
    Action(CmdSlideStop)->setEnabled(playing);
    return menu_;
}

void CSlideFrame::ShowMenu(const QPoint& global) {
    Menu()->popup(global);
}

bool CSlideFrame::Render(int frame) {
    if (!render_) return false;
    const SlideFrameRequest request{player_.FrameCount(), frame,
                                    draw::Size{view_->width(), view_->height()}, ButtonFace(view_)};
    std::unique_ptr<draw::Raster> bitmap = render_(request);
    if (!bitmap) return false;
    bitmap_ = std::move(bitmap); // the previous bitmap goes
    return true;
}

void CSlideFrame::Tick() {
    const int frame = player_.Current();
    const bool rendered = Render(frame);
    progress_->setValue(frame);
    if (rendered) {
        ++shown_;
        view_->repaint();
    }
    counter_->setText(QString::fromStdString(SlideCounterText(frame, player_.FrameCount())));
    if (!player_.Advance()) Stopped();
}

void CSlideFrame::Stopped() {
    timer_.stop();
    progress_->setValue(0);
    view_->update();
}

bool CSlideFrame::OnCommand(int id) {
    const bool playing = player_.Playing();
    switch (id) {
    case CmdSlideSingle:
    case CmdSlideContinue:
        if (playing) return false;
        player_.Play(id == CmdSlideContinue);
        timer_.start();
        return true;
    case CmdSlideStop:
        if (!playing) return false;
        player_.Stop();
        counter_->setText(
            QString::fromStdString(SlideCounterText(player_.Current(), player_.FrameCount())));
        Stopped();
        return true;
    case CmdSlideMaximized: {
        QAction* a = Action(CmdSlideMaximized);
        // Triggered from the menu the check mark has moved already; from code it moves here.
        if (sender() != a) a->setChecked(!a->isChecked());
        if (a->isChecked())
            showMaximized();
        else
            showNormal();
        return true;
    }
    case CmdQuit:
        close();
        return true;
    default:
        return false;
    }
}

void CSlideFrame::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    // The current frame again at the new size.
    if (player_.Playing() && Render(player_.Current())) view_->update();
}

void CSlideFrame::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton)
        ShowMenu(e->globalPosition().toPoint());
    else
        QMainWindow::mouseReleaseEvent(e);
}

} // namespace zor::maps::qt
