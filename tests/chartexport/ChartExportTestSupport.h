#pragma once
// A chart panel that draws coloured bars and a few texts, and helpers that
// run the independent readers.
#include "chart/panel/CustomPlotPanel.h"

#include <QImage>
#include <QJsonObject>
#include <QWidget>

#include <functional>

#include <string>
#include <vector>

class QFileDialog;

namespace cetest {

using namespace cb::chart;

struct Bar {
    TRect rect;  // in percent of the chart rectangle
    TColor color;
};

// White panel without bevel; bars are filled rectangles, texts drawn with
// the chart font (title on top, labels under the bars).
class BarPanel : public TCustomPlotPanel {
public:
    BarPanel(int width = 400, int height = 250);
    void DrawContents(const TRect& bounds) override;
    // The bar's rectangle in panel pixels for a drawing of width x height.
    TRect BarRect(const Bar& bar, int width, int height) const;

    std::vector<Bar> bars;
    std::vector<std::string> labels;
    std::string title;
    bool fail = false;
};

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args);
// image_probe.py on file; with expected, its pixels are compared too.
QJsonObject ProbeImage(const std::string& file, const QImage* expected = nullptr);
// PIL's RGB at the points (JSON "at": [[r, g, b], ...]).
QJsonObject ProbeImageAt(const std::string& file, const std::vector<QPoint>& points);
std::string ReadFile(const std::string& fileName);
// Answers the next save dialog with answer(dialog) once it is up.
void AnswerSaveDialog(const std::function<void(QFileDialog&)>& answer);
// Keeps a picture of the widget in the build's "screenshots" folder.
void SaveScreenshot(QWidget& widget, const std::string& name);

}  // namespace cetest
