// What a chart view needs of the window that shows it: message boxes, repainting, the popup
// menus it put into the menu bar, the Export dialog with its save-file dialog, the clipboard
// and the text measurer of the screen. The Qt frame implements it; tests record the calls.
#pragma once

#include "draw/DeviceContext.h"

#include <functional>
#include <optional>
#include <string>

namespace zor::charts {

enum class MessageIcon { None, Stop };

// What the Export dialog returns when it is closed with "Export".
struct ExportChoice {
    bool toClipboard = true;
    bool blackAndWhite = false;
};

// Draws a picture onto a device context whose client area is `size` device pixels.
using PictureFunction = std::function<void(draw::DeviceContext& dc, draw::Size size)>;

class ViewHost {
public:
    virtual ~ViewHost() = default;

    // A message box with an OK button (texts are UTF-8).
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
    // Marks the whole view for repainting with its background erased; `now` repaints at once.
    virtual void Invalidate(bool now) = 0;
    // The check mark of popup `index` (of CGraphView::Popups) moved.
    virtual void PopupChanged(int index) = 0;

    // The Export dialog (resource 20006); `offerBlackAndWhite` is the view's picture choice.
    // None when it was not closed with "Export".
    virtual std::optional<ExportChoice> RunExportDialog(bool offerBlackAndWhite) = 0;
    // The save-file dialog for an enhanced metafile; none when cancelled.
    virtual std::optional<std::string> AskMetafileName() = 0;
    // Puts an enhanced metafile on the clipboard; `draw` renders the same picture of `size`
    // for clipboard formats the platform prefers.
    virtual void PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw,
                                       draw::Size size) = 0;

    // Measures text as the screen shows it (exported metafiles are measured with it).
    virtual const draw::TextMeasurer& Measurer() const = 0;
};

} // namespace zor::charts
