#pragma once
// The function options editors: the base that stores the controls into the
// series' function when the host applies, and the period editor most
// functions use. Applying also sets the series' data sources. Whatever
// raises on the way (a negative period, a circular source), recalculation
// and the series' updates are released again and the error is returned,
// not thrown into the event loop.
#include "charteditors/common/EditorForm.h"

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace cb::chart {
class TChartSeries;
class TPlotFunction;
}  // namespace cb::chart

namespace cb::charteditors {

class TBaseFunctionEditor : public TEditorForm {
public:
    explicit TBaseFunctionEditor(QWidget* owner = nullptr);
    // Stores the controls into the function with its recalculation held.
    // False with the reason in error when the function refused a value.
    bool ApplyOptions(std::string& error);
    // Any change of a control (the host's Apply button follows it).
    std::function<void()> OnPending;

protected:
    cb::chart::TPlotFunction* Function() const;
    virtual void LoadOptions(cb::chart::TPlotFunction&) {}
    virtual void StoreOptions(cb::chart::TPlotFunction&) {}
    void FormShow() override;
    void MarkPending();
};

class TPlotFunctionEditor : public TBaseFunctionEditor {
public:
    explicit TPlotFunctionEditor(QWidget* owner = nullptr);
    QComboBox* CBAlign;
    QComboBox* CBStyle;
    QLineEdit* ENum;
    QPushButton* BChange;

protected:
    void LoadOptions(cb::chart::TPlotFunction& f) override;
    void StoreOptions(cb::chart::TPlotFunction& f) override;

private:
    void StyleChanged();
    void ChangeRange();
    double FPeriod = 0;
};

// The period editor plus whether empty points count in the mean.
class TAverageFuncEditor : public TPlotFunctionEditor {
public:
    explicit TAverageFuncEditor(QWidget* owner = nullptr);
    QCheckBox* CBNulls;

protected:
    void LoadOptions(cb::chart::TPlotFunction& f) override;
    void StoreOptions(cb::chart::TPlotFunction& f) override;
};

// Start, step and number of points of a function that needs no source.
// All three are checked before any is stored: a text that is not a number,
// or a count outside 0..MaxCustomPoints, stores nothing and names the text.
class TCustomFunctionEditor : public TBaseFunctionEditor {
public:
    explicit TCustomFunctionEditor(QWidget* owner = nullptr);
    QLineEdit* EStart;
    QLineEdit* EStep;
    QLineEdit* ENum;

protected:
    void LoadOptions(cb::chart::TPlotFunction& f) override;
    void StoreOptions(cb::chart::TPlotFunction& f) override;
};

constexpr int MaxCustomPoints = 1000000;

// Sets the series' data sources (validated first: a source that is the
// series or is fed by it is refused) with its updates held, then refills
// it. False with the reason in error; the series keeps its sources then
// and its updates are never left held.
bool ApplyDataSources(cb::chart::TChartSeries& series, const std::vector<cb::chart::TChartSeries*>& sources,
                      std::string& error);
// Replaces the series' data sources by these; when a source refuses, the
// series is linked to its previous sources again and the error goes on.
void ReconnectDataSources(cb::chart::TChartSeries& series, const std::vector<cb::chart::TChartSeries*>& sources);
// Links the series to exactly these sources again (no refill).
void RestoreDataSources(cb::chart::TChartSeries& series, const std::vector<cb::chart::TChartSeries*>& previous);

}  // namespace cb::charteditors
