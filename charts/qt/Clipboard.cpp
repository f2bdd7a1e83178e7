#include "charts/qt/Clipboard.h"

#include "draw/qt/Render.h"

#include <QClipboard>
#include <QGuiApplication>

namespace zor::charts::qt {

std::unique_ptr<QMimeData> PictureMimeData(const std::string& emf, const PictureFunction& draw,
                                           draw::Size size) {
    auto data = std::make_unique<QMimeData>();
    data->setData(EmfMimeType, QByteArray(emf.data(), qsizetype(emf.size())));
    data->setImageData(draw::RenderImage(size, draw));
    return data;
}

void PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw, draw::Size size) {
    QGuiApplication::clipboard()->setMimeData(PictureMimeData(emf, draw, size).release());
}

} // namespace zor::charts::qt
