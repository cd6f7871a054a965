#pragma once
// The series animation tool: grows a series' values from a start value to
// their real values, step by step on a timer (the chart paints between
// steps); stops when the tool, the series or the chart goes.
#include "chart/tools/PlotCustomTool.h"

#include <functional>
#include <memory>
#include <vector>

class QTimer;

namespace cb::chart {

enum TSeriesAnimationLoop {
    salNo,
    salOneWay,
    salCircular
};

class TSeriesAnimationTool;
using TSeriesAnimationStep = std::function<void(TSeriesAnimationTool* sender, int step)>;

class TSeriesAnimationTool : public TPlotCustomToolSeries {
public:
    TSeriesAnimationTool();
    ~TSeriesAnimationTool() override;

    int Steps() const { return FSteps; }
    // Raises ChartException below 1.
    void SetSteps(int steps);
    bool StartAtMin() const { return FStartAtMin; }
    void SetStartAtMin(bool on) { FStartAtMin = on; }
    double StartValue() const { return FStartValue; }
    void SetStartValue(double v) { FStartValue = v; }
    // Points per group; 0 animates all points at once.
    int DrawEvery() const { return FDrawEvery; }
    void SetDrawEvery(int n) { FDrawEvery = n < 0 ? 0 : n; }
    TSeriesAnimationLoop Loop() const { return FLoop; }
    void SetLoop(TSeriesAnimationLoop l) { FLoop = l; }
    TSeriesAnimationStep OnStep;
    // Pause between steps in milliseconds.
    int StepInterval() const { return FInterval; }
    void SetStepInterval(int ms) { FInterval = ms < 0 ? 0 : ms; }

    // Starts (with a Series, when idle); returns at once.
    void Play();
    // Puts the real values back and goes idle.
    void Stop();
    bool Running() const { return FRunning; }

    void SetSeries(TChartSeries* series) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TSeriesAnimToolEditor"; }

protected:
    void Notification(TCustomChartElement* gone) override;

private:
    void step();
    void startPass();
    void putBack();
    void finish(bool touchSeries);

    int FSteps = 100;
    bool FStartAtMin = true;
    double FStartValue = 0;
    int FDrawEvery = 0;
    TSeriesAnimationLoop FLoop = salNo;
    int FInterval = 10;
    std::unique_ptr<QTimer> FTimer;
    bool FRunning = false;
    std::vector<double> FKept;
    double FStart = 0;
    bool FForward = true;
    int FGroup = 0, FStep = 0;
};

}  // namespace cb::chart
