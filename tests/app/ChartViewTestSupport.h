#pragma once
// Shared by the chart view tests: the sample cube's chart view in the bottom
// container, shown in a 900 x 420 host with the display manager refreshed.
#include "MDXTestSupport.h"
#include "app/core/query/DisplayManager.h"
#include "app/ui/main/MainBottomContainer.h"
#include "app/ui/views/MainGraphDisplay.h"

#include <QCoreApplication>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace cbtest {

// The item of a menu with this caption; a test failure when there is none.
inline QAction* MenuItem(QMenu* menu, const char* caption) {
    for (QAction* a : menu->actions())
        if (a->text() == caption) return a;
    ADD_FAILURE() << "no item " << caption;
    return nullptr;
}

class ChartViewFixture : public ::testing::Test {
protected:
    // Opens the chart view; beforeRefresh runs once the view is set up, before
    // the first refresh fills it.
    void OpenChartView(const std::function<void()>& beforeRefresh = {}) {
        connection = OpenLocalCube(SampleCubePath(), app.Context());
        dm = std::make_unique<cb::app::TDisplayManager>(app.Context());
        host = std::make_unique<QWidget>();
        host->resize(900, 420);
        container = std::make_unique<cb::app::TfrmMainBottomContainer>(host.get(), dm.get());
        // The display manager needs a grid only as a key; nothing draws into it.
        dm->OpenCube(connection.get(), reinterpret_cast<cb::grid::TExtStringGrid*>(&FGridTag), nullptr);
        container->ShowChartView(connection->GetCurrentCubeDef().get());
        view = container->ChartView();
        ASSERT_NE(view, nullptr);
        dm->SetChart(container->GetChart());
        if (beforeRefresh) beforeRefresh();
        container->setGeometry(0, 0, 900, 420);
        host->show();
        dm->Refresh();
        QCoreApplication::processEvents();
    }

    TTestContext app;
    std::unique_ptr<cb::app::TMSOLAPConnection> connection;
    std::unique_ptr<cb::app::TDisplayManager> dm;
    std::unique_ptr<QWidget> host;
    std::unique_ptr<cb::app::TfrmMainBottomContainer> container;
    cb::app::TfrmMainGraphDisplay* view = nullptr;

private:
    alignas(16) char FGridTag = 0;
};

}  // namespace cbtest
