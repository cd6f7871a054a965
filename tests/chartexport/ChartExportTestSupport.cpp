#include "ChartExportTestSupport.h"

#include "chart/canvas/PlotCanvas.h"
#include "platform/gfx/Canvas.h"

#include <QApplication>
#include <QFileDialog>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace cetest {

BarPanel::BarPanel(int width, int height) {
    SetBevelOuter(bvNone);
    SetColor(clWhite);
    resize(width, height);
    bars = {{{10, 30, 25, 100}, 0x0000FF}, {{40, 50, 55, 100}, 0x00C000}, {{70, 10, 85, 100}, 0xFF0000}};
    labels = {"North", "South", "West"};
    title = "Revenue by region";
}

TRect BarPanel::BarRect(const Bar& bar, int width, int height) const {
    // The drawing keeps a 10% band above and below for the texts.
    const int top = height / 10, bottom = height - height / 10;
    const int h = bottom - top;
    return {bar.rect.Left * width / 100, top + bar.rect.Top * h / 100, bar.rect.Right * width / 100,
            top + bar.rect.Bottom * h / 100};
}

void BarPanel::DrawContents(const TRect& bounds) {
    if (fail) throw std::runtime_error("drawing failed");
    TPlotCanvas& c = *Canvas();
    const int w = bounds.Width(), h = bounds.Height();
    c.Pen().SetStyle(cb::gfx::psClear);
    c.Brush().SetStyle(cb::gfx::bsSolid);
    for (const Bar& bar : bars) {
        c.Brush().SetColor(bar.color);
        c.FillRectangle(BarRect(bar, w, h));
    }
    c.Pen().SetStyle(cb::gfx::psSolid);
    c.Pen().SetColor(clBlack);
    c.DrawLine(0, h - h / 10, w, h - h / 10);
    c.Font().SetColor(clBlack);
    c.SetBackgroundMode(1);
    c.SetTextAlignment(0);
    if (!title.empty()) c.OutputText(w / 3, 2, title);
    for (std::size_t i = 0; i < bars.size() && i < labels.size(); ++i)
        c.OutputText(BarRect(bars[i], w, h).Left, h - h / 10 + 2, labels[i]);
}

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
    QProcess p;
    QStringList a;
    for (const auto& s : args) a << QString::fromStdString(s);
    p.start(QString::fromStdString(program), a);
    ToolRun r;
    if (!p.waitForStarted()) {
        r.err = "cannot start " + program;
        return r;
    }
    p.waitForFinished(-1);  // bounded by the test runner's timeout
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

QJsonObject ProbeImage(const std::string& file, const QImage* expected) {
    std::vector<std::string> args{CB_SOURCE_DIR "/tests/chartexport/image_probe.py", file};
    QTemporaryFile raw;
    if (expected) {
        const QImage rgb = expected->convertToFormat(QImage::Format_RGB888);
        raw.open();
        for (int y = 0; y < rgb.height(); ++y)
            raw.write(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
        raw.flush();
        args.push_back(raw.fileName().toStdString());
        args.push_back(std::to_string(rgb.width()));
        args.push_back(std::to_string(rgb.height()));
    }
    const ToolRun r = RunProgram("/usr/bin/python3", args);
    if (r.code != 0) {
        ADD_FAILURE() << "image_probe.py failed: " << r.err;
        return {};
    }
    QJsonObject info = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    if (info.isEmpty() || (expected && !info.contains("maxdiff"))) ADD_FAILURE() << "image_probe.py said: " << r.out;
    return info;
}

QJsonObject ProbeImageAt(const std::string& file, const std::vector<QPoint>& points) {
    std::string at;
    for (const QPoint& p : points) at += std::to_string(p.x()) + "," + std::to_string(p.y()) + ";";
    const ToolRun r =
        RunProgram("/usr/bin/python3", {CB_SOURCE_DIR "/tests/chartexport/image_probe.py", "--at", at, file});
    if (r.code != 0) ADD_FAILURE() << "image_probe.py failed: " << r.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
}

std::string ReadFile(const std::string& fileName) {
    std::ifstream f(fileName, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void AnswerSaveDialog(const std::function<void(QFileDialog&)>& answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

void SaveScreenshot(QWidget& widget, const std::string& name) {
    const std::string folder = std::string(CB_BIN_DIR) + "/../screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(widget.grab().save(QString::fromStdString(folder + "/" + name))) << name;
}

}  // namespace cetest
