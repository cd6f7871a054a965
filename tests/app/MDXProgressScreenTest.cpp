// The "Loading ..." window: its form settings and the endless bar.
#include "app/ui/dialogs/MDXProgressScreen.h"

#include <QProgressBar>
#include <QTimer>

#include <gtest/gtest.h>

using cb::app::TfrmMDXProgressScreen;

TEST(MDXProgressScreenTest, FormSettings) {
    TfrmMDXProgressScreen form;
    EXPECT_EQ(form.windowTitle().toStdString(), "Loading ...");
    EXPECT_EQ(form.size(), QSize(374, 33));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(form.parentWidget(), nullptr);
    EXPECT_EQ(form.prStatus->geometry(), QRect(7, 6, 359, 22));
    EXPECT_EQ(form.prStatus->minimum(), 0);
    EXPECT_EQ(form.prStatus->maximum(), 1000);
    EXPECT_EQ(form.prStatus->value(), 0);
    EXPECT_EQ(form.tiTimer->interval(), 100);
    EXPECT_TRUE(form.tiTimer->isActive());
}

TEST(MDXProgressScreenTest, TicksSweepAndStartAgain) {
    const struct { int from, to; } ticks[] = {{0, 3}, {3, 6}, {996, 999}, {997, 0}, {999, 0}, {1000, 0}};
    TfrmMDXProgressScreen form;
    form.tiTimer->stop();
    for (const auto& t : ticks) {
        form.prStatus->setValue(t.from);
        form.tiTimerTimer();
        EXPECT_EQ(form.prStatus->value(), t.to) << t.from;
    }
    // A full sweep: 334 ticks from 0 come back to 0, passing 999 on the way.
    form.prStatus->setValue(0);
    bool saw999 = false;
    for (int i = 0; i < 333; ++i) {
        form.tiTimerTimer();
        saw999 = saw999 || form.prStatus->value() == 999;
    }
    EXPECT_TRUE(saw999);
    form.tiTimerTimer();
    EXPECT_EQ(form.prStatus->value(), 0);
}

TEST(MDXProgressScreenTest, CentredOverTheGivenWindow) {
    QWidget main;
    main.setGeometry(100, 120, 800, 600);
    main.show();
    TfrmMDXProgressScreen form(&main);
    form.show();
    const QPoint centre = form.geometry().center();
    EXPECT_NEAR(centre.x(), main.frameGeometry().center().x(), 2);
    EXPECT_NEAR(centre.y(), main.frameGeometry().center().y(), 2);
}
