// What a view needs of the window that shows it: message boxes, repainting, the popup menus it
// put into the menu bar, the Export dialog with the save-file dialog, the clipboard (pictures
// and HTML tables), picture files drawn by the platform's backends, the window's size, the
// dialogs it opens (through their window-less models) and the text measurer of the screen. The
// Qt frame implements it, zorexport has a headless one, tests record the calls.
#pragma once

#include "draw/DeviceContext.h"
#include "draw/Raster.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zor::charts {

enum class MessageIcon { None, Stop };

// What the Export dialog returns when it is closed with "Export".
struct ExportChoice {
    bool toClipboard = true;
    bool blackAndWhite = false;
};

// Draws a picture onto a device context whose client area is `size` device pixels.
using PictureFunction = std::function<void(draw::DeviceContext& dc, draw::Size size)>;

// One file type of a save-file dialog: "Enhanced metafile (*.emf)" with suffix "emf".
struct FileType {
    std::string description; // UTF-8, the filter's text without the pattern
    std::string suffix;      // without the dot
};
struct SaveFileChoice {
    std::string path;
    int type = 0; // index into the offered file types
};

// What a save-file dialog's answer means: the file type whose suffix the name ends with
// (ignoring case), else the chosen type with its suffix added to the name. A type index
// outside the list counts as the first type.
SaveFileChoice ChooseFileType(const std::string& path, int chosenType,
                              const std::vector<FileType>& types);

// The picture files "Special" writes besides the enhanced metafile.
enum class PictureFormat { Png, Svg, Pdf };

// The window-less side of a dialog a view opens: its input, and once it was closed with OK its
// result. The Qt hosts find the dialog that shows a model by the model's type.
class DialogModel {
public:
    virtual ~DialogModel() = default;
};

class CView;

class ViewHost {
public:
    virtual ~ViewHost() = default;

    // A message box with an OK button (texts are UTF-8).
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
    // Marks the whole view for repainting with its background erased; `now` repaints at once.
    virtual void Invalidate(bool now) = 0;
    // The check mark of popup `index` (of CView::Popups) moved.
    virtual void PopupChanged(int index) = 0;

    // The Export dialog (resource 20006); `offerBlackAndWhite` is the view's picture choice.
    // None when it was not closed with "Export".
    virtual std::optional<ExportChoice> RunExportDialog(bool offerBlackAndWhite) = 0;
    // The save-file dialog with its file types (the first is the default) and an overwrite
    // prompt; none when cancelled.
    virtual std::optional<SaveFileChoice> AskSaveFileName(const std::vector<FileType>& types) = 0;
    // Puts an enhanced metafile on the clipboard; `draw` renders the same picture of `size`
    // for clipboard formats the platform prefers.
    virtual void PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw,
                                       draw::Size size) = 0;
    // Puts a table on the clipboard as HTML: `fragment` is the UTF-8 HTML fragment (a title and
    // a <TABLE>), `plainText` the same table as UTF-8 text with tab-separated columns, for
    // programs that do not read HTML. Nothing happens when the clipboard cannot be used.
    virtual void PutHtmlOnClipboard(const std::string& fragment, const std::string& plainText) = 0;
    // Writes a picture file through the platform's drawing backends: `draw` renders the picture
    // onto a device whose client area is `size` device-independent pixels. A PNG has twice as
    // many pixels each way (for sharpness), a PDF is one page as large as `size` at 96 dpi, an
    // SVG's view box is `size`; `title` names the picture. False when the file could not be
    // written (a host without drawing backends writes nothing).
    virtual bool SavePicture(const std::string& /*path*/, PictureFormat /*format*/,
                             const PictureFunction& /*draw*/, draw::Size /*size*/,
                             const std::string& /*title*/) {
        return false;
    }
    // The client size of the view's window, device-independent pixels; none without a window.
    virtual std::optional<draw::Size> WindowSize() const { return std::nullopt; }

    // Runs the dialog of a model; true when it was closed with OK (the model holds the result).
    // A host without that dialog answers false.
    virtual bool RunDialog(DialogModel& model) = 0;

    // Opens another view in a new frame of the same kind as this one (the map's drill-down);
    // false when the host cannot.
    virtual bool OpenView(std::unique_ptr<CView> view) = 0;

    // Measures text as the screen shows it (exported metafiles are measured with it).
    virtual const draw::TextMeasurer& Measurer() const = 0;

    // Draws a picture onto a bitmap in memory as the screen would (its backend and fonts), over
    // the pixels the raster holds; the picture's size is the raster's. False when the host has
    // no raster backend (the raster is then unchanged).
    virtual bool PaintBitmap(draw::Raster& raster, const PictureFunction& draw) = 0;
};

} // namespace zor::charts
