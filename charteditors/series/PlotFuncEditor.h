#pragma once
// The function source editor of the series tab's "Function" data source:
// the function (or "Copy") in the source combo, the source series picked
// with the two-list selector, and the function's options editor on the
// "Options" page. Nothing reaches the series before "&Apply": a function
// chosen is staged here, and Apply sets function, options and sources in
// one go. When Apply fails (a source that is fed by the series, a value the
// function refuses) the series keeps its function and sources, the reason
// is shown and "&Apply" stays on; the series' updates and the function's
// recalculation are released on every path.
#include "chart/panel/PlotEvents.h"
#include "charteditors/series/SourceEditor.h"

#include <functional>
#include <memory>
#include <string>

class QTabWidget;

namespace cb::chart {
struct TFunctionClass;
class TPlotFunction;
}  // namespace cb::chart

namespace cb::charteditors {

class TBaseFunctionEditor;
class TSelectListForm;

class TPlotFuncEditor : public TBaseSourceEditor, public cb::chart::TPlotEventListener {
public:
    explicit TPlotFuncEditor(QWidget* owner = nullptr);
    ~TPlotFuncEditor() override;

    QTabWidget* PageControl1;
    QWidget* TabSource;
    QWidget* TabOptions;
    // One source series with the value list it reads (for functions that
    // take a single source; none in this system does).
    QWidget* PanSingle;
    QComboBox* CBSingle;
    QLabel* LValues;
    QComboBox* CBValues;
    QPushButton* BNone;

    // The two-list selector of the source series (made at show).
    TSelectListForm* Selector() const { return FSelector; }
    // The options editor of the chosen function, or none.
    TBaseFunctionEditor* OptionsEditor() const { return FOptions.get(); }
    // The chosen function class; none for "Copy".
    const cb::chart::TFunctionClass* SelectedFunctionClass() const;

    bool Apply() override;
    // The reason the last Apply failed (empty after a success).
    const std::string& LastError() const { return FLastError; }
    // Shows a failed Apply's reason (a message box when empty).
    std::function<void(const std::string&)> OnApplyError;

    void HandleEvent(cb::chart::TPlotEvent& event) override;

protected:
    void FormShow() override;

private:
    void FillFunctions();
    // Lists the series that may feed the edited one (leaving out one that
    // is going).
    void FillLists(const cb::chart::TChartSeries* going = nullptr);
    void FunctionChanged();
    void SingleChanged();
    void ReplaceOptionsEditor(const cb::chart::TFunctionClass* f);
    bool ApplyOrThrow();
    cb::chart::TPlotFunction* TargetFunction() const;
    void Listen(cb::chart::TCustomAxisPanel* chart);

    TSelectListForm* FSelector = nullptr;
    std::unique_ptr<cb::chart::TPlotFunction> FPending;  // a chosen function not yet applied
    std::unique_ptr<TBaseFunctionEditor> FOptions;
    const cb::chart::TFunctionClass* FOptionsClass = nullptr;
    TObjectGuard FChart;
    const cb::chart::TChartSeries* FLoaded = nullptr;  // the series the controls were last loaded from
    std::string FLastError;
    bool FDestroying = false;
};

}  // namespace cb::charteditors
