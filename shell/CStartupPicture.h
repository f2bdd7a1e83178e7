// The start-up picture: front.bmp in a borderless window over the main frame, closed after six
// seconds or by the first key or mouse press anywhere in the program.
#pragma once

#include "core/Bitmap.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace zor {

// The bitmap as a Qt image.
QImage ToImage(const RgbBitmap& bmp);

class CStartupPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int DisplayMilliseconds = 6000;

    // A picture window owned by `owner`, centred over it. It watches the program's input while
    // it exists.
    CStartupPicture(const RgbBitmap& bmp, QWidget* owner);
    ~CStartupPicture() override;

    // The picture window that exists, if any.
    static CStartupPicture* Current();

    const QImage& Image() const { return image_; }
    const QTimer& Timer() const { return timer_; }

    // Places the window in the middle of its owner.
    void CenterOverOwner();
    // Closes and destroys the picture; emits finished() once.
    void Finish();

Q_SIGNALS:
    void finished();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage image_;
    QTimer timer_;
    bool finished_ = false;
};

} // namespace zor
