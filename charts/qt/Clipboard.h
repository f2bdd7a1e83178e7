// Pictures on the clipboard: the enhanced metafile bytes as "image/emf" (what Windows
// programs paste as a metafile) plus a PNG rendering of the same drawing for everything else.
// Tables: the HTML fragment as "text/html" and the tab-separated text as "text/plain".
#pragma once

#include "charts/ViewHost.h"

#include <QMimeData>

#include <memory>
#include <string>

namespace zor::charts::qt {

inline constexpr char EmfMimeType[] = "image/emf";

std::unique_ptr<QMimeData> PictureMimeData(const std::string& emf, const PictureFunction& draw,
                                           draw::Size size);
void PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw, draw::Size size);

// A UTF-8 HTML fragment (declared UTF-8, as spreadsheets and word processors read it) and its
// plain-text form.
std::unique_ptr<QMimeData> HtmlMimeData(const std::string& fragment, const std::string& plainText);
void PutHtmlOnClipboard(const std::string& fragment, const std::string& plainText);

} // namespace zor::charts::qt
