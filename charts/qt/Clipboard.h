// Pictures on the clipboard: the enhanced metafile bytes as "image/emf" (what Windows
// programs paste as a metafile) plus a PNG rendering of the same drawing for everything else.
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

} // namespace zor::charts::qt
