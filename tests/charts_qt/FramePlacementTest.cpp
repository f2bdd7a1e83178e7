// Where view frames open: inside the available area, below the main frame's toolbar, cascaded,
// on a small screen, a scaled one and one with a fractional pixel ratio.
#include "charts/qt/FramePlacement.h"

#include <QMainWindow>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

namespace zor::charts::qt {
namespace {

QRect Outer(const QRect& client, const QMargins& deco) {
    return client.marginsAdded(deco);
}

// A 1280 x 800 screen with a 30 pixel panel at the bottom; the maximised main frame's client
// area starts 80 pixels down (title, menu bar, toolbar).
FramePlacementInput SmallScreen() {
    FramePlacementInput in;
    in.available = QRect(0, 0, 1280, 770);
    in.mainArea = QRect(0, 80, 1280, 660);
    in.decoration = QMargins(4, 28, 4, 4);
    return in;
}

TEST(FramePlacement, CascadesBelowTheToolbarAndStartsAgainAtTheBottom) {
    FramePlacementInput in = SmallScreen();
    const QMargins deco = *in.decoration;
    std::vector<QRect> clients;
    for (int i = 0; i < 5; ++i) {
        clients.push_back(PlaceFrame(in));
        in.previous = Outer(clients.back(), deco);
    }
    EXPECT_EQ(clients[0], QRect(4, 108, 800, 600));  // top left of the area under the toolbar
    EXPECT_EQ(clients[1], QRect(32, 136, 800, 600)); // one title bar down and right
    EXPECT_EQ(clients[2], QRect(60, 164, 800, 600)); // its bottom at 768: still inside
    EXPECT_EQ(clients[3], QRect(88, 108, 800, 600)); // 28 lower would leave: back to the top
    EXPECT_EQ(clients[4], QRect(116, 136, 800, 600));
    for (const QRect& c : clients) {
        EXPECT_TRUE(in.available.contains(Outer(c, deco))) << c.x() << "," << c.y();
        EXPECT_GE(Outer(c, deco).top(), 80); // never over the main frame's menu bar
    }
}

TEST(FramePlacement, RestartsAtTheLeftWhenTheRightEdgeIsReached) {
    FramePlacementInput in = SmallScreen();
    in.previous = QRect(470, 80, 808, 632); // right edge at 1277
    const QRect c = PlaceFrame(in);
    EXPECT_EQ(c.left(), 4);
    EXPECT_EQ(c.top(), 108 + 28);
}

TEST(FramePlacement, AScaledScreenShrinksTheFrameToTheRoomThereIs) {
    // 1280 x 800 device pixels at QT_SCALE_FACTOR=2: 640 x 400 device-independent pixels,
    // a 15 pixel panel; the decoration not known yet.
    FramePlacementInput in;
    in.available = QRect(0, 0, 640, 385);
    in.mainArea = QRect(0, 50, 640, 320);
    in.devicePixelRatio = 2;
    const QMargins deco = AssumedDecoration(2);
    EXPECT_EQ(deco, QMargins(3, 16, 3, 3)); // 6 and 32 device pixels
    const QRect c = PlaceFrame(in);
    EXPECT_EQ(c, QRect(3, 66, 634, 316));
    EXPECT_TRUE(in.available.contains(Outer(c, deco)));

    // Further frames cascade at the price of their size rather than lie on the first.
    in.previous = Outer(c, deco);
    const QRect second = PlaceFrame(in);
    EXPECT_EQ(second, QRect(3 + 16, 66 + 16, 634 - 16, 316 - 16));
    EXPECT_TRUE(in.available.contains(Outer(second, deco)));
    in.previous = Outer(second, deco);
    EXPECT_EQ(PlaceFrame(in).topLeft(), QPoint(3 + 32, 66 + 32));
    in.previous.reset();

    // The screen of the report: 1000 device pixels high, the chart wanted 600 (1200 device).
    in.available = QRect(0, 0, 960, 500);
    in.mainArea = QRect(0, 40, 960, 440);
    const QRect tall = PlaceFrame(in);
    EXPECT_LE(Outer(tall, deco).bottom(), 499);
    EXPECT_EQ(tall.height(), 500 - 40 - 19);
    EXPECT_EQ(tall.width(), 800); // the width fits
}

TEST(FramePlacement, FractionalRatiosPlaceOnWholeDevicePixels) {
    FramePlacementInput in;
    in.available = QRect(0, 0, 853, 533); // 1280 x 800 at 1.5
    in.mainArea = QRect(0, 51, 853, 470);
    in.devicePixelRatio = 1.5;
    in.decoration = QMargins(3, 21, 3, 3);
    for (int i = 0; i < 3; ++i) {
        const QRect c = PlaceFrame(in);
        for (int v : {c.x(), c.y(), c.width(), c.height()})
            EXPECT_DOUBLE_EQ(v * 1.5, std::round(v * 1.5)) << v;
        EXPECT_TRUE(in.available.contains(c.marginsAdded(*in.decoration)));
        in.previous = c.marginsAdded(*in.decoration);
    }
}

TEST(FramePlacement, TheMainFrameCountsOnlyOnItsOwnScreenAndWhenItLeavesRoom) {
    FramePlacementInput in = SmallScreen();
    in.mainArea = QRect(1280, 80, 1280, 660); // on the screen to the right
    EXPECT_EQ(PlaceFrame(in).topLeft(), QPoint(4, 28));

    in.mainArea = QRect(0, 600, 1280, 140); // a main frame low on the screen: no room below
    EXPECT_EQ(PlaceFrame(in).topLeft(), QPoint(4, 28));

    // A previous frame on another screen does not cascade.
    in.mainArea.reset();
    in.previous = QRect(1400, 100, 808, 632);
    EXPECT_EQ(PlaceFrame(in).topLeft(), QPoint(4, 28));
}

TEST(FramePlacement, AScreenSmallerThanTheMinimumGetsAllOfIt) {
    FramePlacementInput in;
    in.available = QRect(0, 0, 300, 200);
    in.decoration = QMargins(0, 20, 0, 0);
    const QRect c = PlaceFrame(in);
    EXPECT_EQ(c, QRect(0, 20, 300, 180));
    in.wanted = QSize(100, 80); // small wishes grow to the minimum where there is room
    in.available = QRect(0, 0, 1000, 700);
    EXPECT_EQ(PlaceFrame(in).size(), QSize(MinFrameWidth, MinFrameHeight));
}

TEST(FramePlacement, NewFramesOfAMainWindowLieInsideTheScreen) {
    QMainWindow main;
    main.setCentralWidget(new QWidget);
    main.showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const QRect available = main.screen()->availableGeometry();
    std::vector<std::unique_ptr<QWidget>> frames;
    for (int i = 0; i < 3; ++i) {
        auto frame = std::make_unique<QWidget>(&main, Qt::Window);
        frame->resize(2000, 1500); // more than any test screen
        PlaceNewFrame(frame.get(), &main, frames.empty() ? nullptr : frames.back().get());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        EXPECT_TRUE(available.contains(frame->frameGeometry()));
        EXPECT_GE(frame->geometry().top(), main.centralWidget()->mapToGlobal(QPoint(0, 0)).y());
        frames.push_back(std::move(frame));
    }
    EXPECT_NE(frames[0]->pos(), frames[1]->pos());
}

TEST(FramePlacement, OwnedWindowsStayInFrontOfTheirOwner) {
    // Without an owner a window is an ordinary top-level window.
    EXPECT_EQ(OwnedWindowFlags(nullptr), Qt::WindowFlags(Qt::Window));
    QMainWindow owner;
    const Qt::WindowFlags flags = OwnedWindowFlags(&owner);
#ifdef Q_OS_WIN
    EXPECT_EQ(flags, Qt::WindowFlags(Qt::Window));
#else
    // A dialog-type window, so that the window manager keeps it above the owner, with the
    // buttons of a normal window.
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    QMainWindow owned(&owner, flags);
    EXPECT_TRUE(owned.isWindow());
    EXPECT_EQ(owned.parentWidget(), &owner);
#endif
}

} // namespace
} // namespace zor::charts::qt
