#include "shell/CStartupPicture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace zor {

namespace {

CStartupPicture* g_picture = nullptr;
constexpr int Border = 2;

} // namespace

QImage ToImage(const RgbBitmap& bmp) {
    QImage img(bmp.pixels.data(), bmp.width, bmp.height, bmp.width * 3, QImage::Format_RGB888);
    return img.copy(); // own the pixels
}

CStartupPicture::CStartupPicture(const RgbBitmap& bmp, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), image_(ToImage(bmp)) {
    g_picture = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(owner ? owner->windowTitle() : QString());
    setFixedSize(image_.width() + 2 * Border, image_.height() + 2 * Border);
    timer_.setSingleShot(true);
    timer_.setInterval(DisplayMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &CStartupPicture::Finish);
    qApp->installEventFilter(this);
    timer_.start();
}

CStartupPicture::~CStartupPicture() {
    qApp->removeEventFilter(this);
    if (g_picture == this) g_picture = nullptr;
}

CStartupPicture* CStartupPicture::Current() {
    return g_picture;
}

void CStartupPicture::Finish() {
    if (finished_) return;
    finished_ = true;
    timer_.stop();
    qApp->removeEventFilter(this);
    if (g_picture == this) g_picture = nullptr;
    Q_EMIT finished();
    close();
}

void CStartupPicture::CenterOverOwner() {
    // Over the owner; over its screen while the owner is maximised but not yet placed there.
    QWidget* owner = parentWidget();
    QRect area;
    if (owner && owner->isVisible() && !owner->isMaximized() && !owner->isFullScreen())
        area = owner->frameGeometry();
    else if (QScreen* s = owner ? owner->screen() : screen())
        area = s->availableGeometry();
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}

void CStartupPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(QPoint(Border, Border), image_);
    // A thin raised edge.
    const QRect r = rect();
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(1, 1, -2, -2));
}

bool CStartupPicture::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Keep shortcuts from acting on the key that only closes the picture.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick: {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::NonClientAreaMouseButtonPress) {
            const auto b = static_cast<QMouseEvent*>(event)->button();
            if (b != Qt::LeftButton && b != Qt::RightButton && b != Qt::MiddleButton)
                return QWidget::eventFilter(watched, event);
        }
        Finish();
        return true; // the input only closes the picture
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace zor
