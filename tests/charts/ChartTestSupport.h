// Shared pieces of the chart tests: a started-up data store over a written test data source, a
// host that records what a view asks of its window, and reference recordings.
#pragma once

#include "charts/ViewHost.h"
#include "core/DataStore.h"
#include "core/Selection.h"
#include "tests/support/Fixture.h"
#include "tests/support/Reference.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace zor::charts::test {

struct Db {
    zor::test::TempDir dir;
    DataStore store;
    explicit Db(const std::function<void(zor::test::Fixture&)>& build) {
        zor::test::Fixture f(dir.path());
        build(f);
        f.Write();
        PlatformInfo p = DefaultPlatform(0, nullptr);
        p.executableDirectory = dir.path();
        p.commandLine.clear();
        EXPECT_TRUE(store.StartUp(p)) << store.StartupError();
    }
};

inline int32_t Key(int setId, int region) {
    return setId * 65536 + region;
}

struct RecordingHost : ViewHost {
    std::vector<std::pair<std::string, MessageIcon>> messages;
    int invalidatedLater = 0, repaintedNow = 0;
    std::vector<int> popupChanges;
    std::optional<ExportChoice> exportAnswer;
    std::vector<bool> exportOffers;
    std::optional<std::string> fileAnswer;
    int fileAsks = 0;
    std::string clipboard;
    draw::Size clipboardSize;
    PictureFunction clipboardDraw;
    draw::FixedTextMeasurer measurer;

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        messages.emplace_back(text, icon);
    }
    void Invalidate(bool now) override { ++(now ? repaintedNow : invalidatedLater); }
    void PopupChanged(int index) override { popupChanges.push_back(index); }
    std::optional<ExportChoice> RunExportDialog(bool offer) override {
        exportOffers.push_back(offer);
        return exportAnswer;
    }
    std::optional<std::string> AskMetafileName() override {
        ++fileAsks;
        return fileAnswer;
    }
    void PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw,
                               draw::Size size) override {
        clipboard = emf;
        clipboardDraw = draw;
        clipboardSize = size;
    }
    const draw::TextMeasurer& Measurer() const override { return measurer; }
};

// Compares with a committed recording of tests/charts/data.
inline void ExpectReference(const std::string& name, const std::string& recording) {
    zor::test::ExpectReferenceIn(ZOR_CHARTS_TEST_DATA, name, recording);
}

// Recorded lines that start with `prefix`.
inline std::vector<std::string> Lines(const std::string& recording, const std::string& prefix) {
    std::vector<std::string> out;
    std::istringstream in(recording);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

} // namespace zor::charts::test
