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

std::unique_ptr<QMimeData> HtmlMimeData(const std::string& fragment, const std::string& plainText) {
    auto data = std::make_unique<QMimeData>();
    data->setData("text/html", QByteArray("<meta http-equiv=\"content-type\" content=\"text/html; "
                                          "charset=utf-8\">") +
                                   QByteArray(fragment.data(), qsizetype(fragment.size())));
    data->setText(QString::fromStdString(plainText));
    return data;
}

void PutHtmlOnClipboard(const std::string& fragment, const std::string& plainText) {
    QGuiApplication::clipboard()->setMimeData(HtmlMimeData(fragment, plainText).release());
}

} // namespace zor::charts::qt
