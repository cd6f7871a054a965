#pragma once
// Shared by the chart editor tests: a sample chart with one series of each
// registered type, the program's chart view (tests/app), answering the
// modal dialogs an editor opens, and screenshots beside the build.
#include "chart/component/Chart.h"
#include "chart/component/StandardSeries.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesTypes.h"
#include "charteditors/common/EditorHelpers.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace cbtest {

// A 500 x 300 chart, one series of each registered series type, five points
// each ("a" .. "e"), shown offscreen.
inline std::unique_ptr<cb::chart::TChart> MakeSampleChart() {
    cb::chart::RegisterStandardSeriesTypes();
    cb::chart::RegisterExtendedSeriesTypes();
    auto chart = std::make_unique<cb::chart::TChart>();
    chart->resize(500, 300);
    const auto& types = cb::chart::SeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const cb::chart::TPlotSeriesType* type = types.GetItem(i);
        if (!type->SeriesClass || type->FunctionClass) continue;
        cb::chart::TChartSeries* s = chart->AdoptSeries(type->SeriesClass->Create());
        s->SetTitle(type->SeriesClass->Name);
        for (int p = 0; p < 5; ++p) s->AddValue(10 + 3 * p + i, std::string(1, char('a' + p)));
    }
    return chart;
}

// Runs act on the next modal window once it is up (a colour dialog, a
// question box, a modal editor), from the event loop the modal runs.
inline void OnNextModal(std::function<void(QWidget*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (QWidget* w = QApplication::activeModalWidget()) {
            act(w);
        } else if (triesLeft > 0) {
            OnNextModal(std::move(act), triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal window came up";
        }
    });
}

// The next colour dialog picks this colour (0x00BBGGRR) and closes with OK.
inline void ChooseColorInNextDialog(unsigned color) {
    OnNextModal([color](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr) << "expected the colour dialog";
        dialog->setCurrentColor(QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
        dialog->accept();
    });
}

// The next colour dialog is cancelled.
inline void CancelNextColorDialog() {
    OnNextModal([](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr) << "expected the colour dialog";
        dialog->reject();
    });
}

// Keeps a picture of the widget in the build's "screenshots" folder.
inline void Screenshot(QWidget* w, const std::string& name) {
    const QString folder = QString(CB_BIN_DIR) + "/../screenshots";
    QDir().mkpath(folder);
    w->grab().save(folder + "/" + QString::fromStdString(name) + ".png");
}

// Answers every Yes/No question with answer and keeps the last text asked.
class TConfirmAnswer {
public:
    explicit TConfirmAnswer(bool answer) {
        cb::charteditors::SetConfirmSink([this, answer](const std::string& message, QWidget*) {
            Asked = message;
            ++Count;
            return answer;
        });
    }
    ~TConfirmAnswer() { cb::charteditors::SetConfirmSink({}); }
    std::string Asked;
    int Count = 0;
};

}  // namespace cbtest
