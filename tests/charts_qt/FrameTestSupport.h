// Opening a view's frame in the widget tests as the main frame opens it.
#pragma once

#include "charts/qt/CGraphFrame.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace zor::charts::qt {

// The frame of a view, its messages given to `onMessage` (none: dropped), resized to `size`
// (none: its own size), shown and after its initial update.
inline std::unique_ptr<CGraphFrame>
OpenTestFrame(const ViewEntry& entry, std::unique_ptr<CView> view, const ViewWidgetFactory& widget,
              std::function<void(const QString&, MessageIcon)> onMessage,
              std::optional<QSize> size = std::nullopt) {
    auto frame = std::make_unique<CGraphFrame>(entry, std::move(view), widget, UiServices{});
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->messageHook = [onMessage = std::move(onMessage)](const QString& t, MessageIcon i) {
        if (onMessage) onMessage(t, i);
    };
    if (size) frame->resize(*size);
    frame->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->Ready(); }));
    return frame;
}

} // namespace zor::charts::qt
