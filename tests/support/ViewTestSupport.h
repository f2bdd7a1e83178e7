// Views in tests: a host that records what a view asks of its window, opening a view exactly as
// its frame does, and the small database most view tests use.
#pragma once

#include "charts/CView.h"
#include "charts/ViewHost.h"
#include "core/DataStore.h"
#include "core/Selection.h"
#include "tests/support/Fixture.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

namespace zor::test {

struct RecordingHost : charts::ViewHost {
    std::vector<std::pair<std::string, charts::MessageIcon>> messages;
    int invalidatedLater = 0, repaintedNow = 0;
    std::vector<int> popupChanges;
    std::optional<charts::ExportChoice> exportAnswer;
    std::vector<bool> exportOffers;
    std::optional<std::string> fileAnswer;
    int fileType = 0;
    std::vector<std::vector<charts::FileType>> fileAsks;
    std::string clipboard;
    draw::Size clipboardSize;
    charts::PictureFunction clipboardDraw;
    // Answers the views' dialogs; none: every dialog is cancelled.
    std::function<bool(charts::DialogModel&)> dialogAnswer;
    std::vector<const std::type_info*> dialogs; // the models' types, in order
    draw::FixedTextMeasurer measurer;

    void ShowMessage(const std::string& text, charts::MessageIcon icon) override {
        messages.emplace_back(text, icon);
    }
    void Invalidate(bool now) override { ++(now ? repaintedNow : invalidatedLater); }
    void PopupChanged(int index) override { popupChanges.push_back(index); }
    std::optional<charts::ExportChoice> RunExportDialog(bool offer) override {
        exportOffers.push_back(offer);
        return exportAnswer;
    }
    std::optional<charts::SaveFileChoice>
    AskSaveFileName(const std::vector<charts::FileType>& types) override {
        fileAsks.push_back(types);
        if (!fileAnswer) return std::nullopt;
        return charts::SaveFileChoice{*fileAnswer, fileType};
    }
    void PutPictureOnClipboard(const std::string& emf, const charts::PictureFunction& draw,
                               draw::Size size) override {
        clipboard = emf;
        clipboardDraw = draw;
        clipboardSize = size;
    }
    // The last table put on the clipboard as HTML, and how many were.
    std::string clipboardHtml, clipboardText;
    int htmlCopies = 0;
    void PutHtmlOnClipboard(const std::string& fragment, const std::string& plainText) override {
        clipboardHtml = fragment;
        clipboardText = plainText;
        ++htmlCopies;
    }
    // Views the view opened (the map's drill-down), in order.
    std::vector<std::unique_ptr<charts::CView>> openedViews;
    bool OpenView(std::unique_ptr<charts::CView> view) override {
        openedViews.push_back(std::move(view));
        return true;
    }
    // Picture files the view asked for (nothing is written); `saveAnswer` is the result.
    struct SavedPicture {
        std::string path;
        charts::PictureFormat format;
        draw::Size size;
        std::string title;
        charts::PictureFunction draw;
    };
    std::vector<SavedPicture> savedPictures;
    bool saveAnswer = true;
    bool SavePicture(const std::string& path, charts::PictureFormat format,
                     const charts::PictureFunction& draw, draw::Size size,
                     const std::string& title) override {
        savedPictures.push_back({path, format, size, title, draw});
        return saveAnswer;
    }
    // The window's client size; none: no window.
    std::optional<draw::Size> windowSize;
    std::optional<draw::Size> WindowSize() const override { return windowSize; }
    bool RunDialog(charts::DialogModel& model) override {
        dialogs.push_back(&typeid(model));
        return dialogAnswer && dialogAnswer(model);
    }
    const draw::TextMeasurer& Measurer() const override { return measurer; }
    // Paints bitmaps when the test gives it a raster backend; none: it cannot.
    std::function<bool(draw::Raster&, const charts::PictureFunction&)> bitmapPainter;
    int bitmapsPainted = 0;
    bool PaintBitmap(draw::Raster& raster, const charts::PictureFunction& draw) override {
        if (!bitmapPainter) return false;
        ++bitmapsPainted;
        return bitmapPainter(raster, draw);
    }
};

// Opens a view as its frame does: the window's creation (popups), then the first showing
// (layout and the no-data report).
inline void OpenView(charts::CView& view, charts::ViewHost& host) {
    view.Create(&host);
    view.InitialUpdate();
}

// A view made from a started store and a selection with default drawing resources.
template <class View>
std::unique_ptr<View> MakeTestView(DataStore& store, const Selection& selection) {
    static const charts::ChartResources resources;
    return std::make_unique<View>(charts::ViewContext{store, resources, selection, nullptr});
}

// A country with three regions and its total; group 1 with two indicators, the second without
// any value; the years 2000 and 2001 (South has no 2001 value, East's is 0).
inline void Country(Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "East", "Total"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income per head");
    f.Indicator(1020, "Exports");
    f.Periods({2000, 2001});
    f.Values(10000, 2000, 1010, {10, 20, 30, 60});
    f.Values(10000, 2001, 1010, {15, MissingValue, 0, 40});
}

// The selection of the country's three regions and both years with the given indicators.
inline Selection CountrySelection(std::vector<ListItem> indicators = {{1010, "Income per head"},
                                                                      {1020, "Exports"}}) {
    Selection s;
    s.Confirm(10000, std::move(indicators),
              {{MakeRegionKey(10000, 1), "North"},
               {MakeRegionKey(10000, 2), "South"},
               {MakeRegionKey(10000, 3), "East"}},
              {{2000, "2000"}, {2001, "2001"}});
    return s;
}

} // namespace zor::test
