#pragma once
// The "Random" choice of a series' data source: how many random sample
// values, whether that is the series type's default, and Apply, which
// replaces the points by that many samples. The count is bounded: a number
// past MaxSampleValues (or below 1) is refused with a message beside the
// box and Apply stays off, so a slip of the keyboard never fills memory.
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cb::chart {
class TChartSeries;
}

namespace cb::charteditors {

constexpr int MaxSampleValues = 100000;

class TRandomSourcePanel : public QWidget {
public:
    explicit TRandomSourcePanel(QWidget* parent = nullptr);
    // Loads the count from the series (not owned; none empties the panel).
    void SetSeries(cb::chart::TChartSeries* series);

    QLineEdit* ESamples;
    QCheckBox* CBSamplesDefault;
    QPushButton* BApplyRandom;
    QLabel* LMessage;

private:
    void SamplesEdited();
    void UpdateDefault();
    cb::chart::TChartSeries* FSeries = nullptr;
    bool FLoading = false;
};

}  // namespace cb::charteditors
