#include "charteditors/series/RandomSourcePanel.h"

#include "chart/series/ChartSeries.h"
#include "charteditors/series/SeriesEditorKit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace cb::charteditors {

using namespace cb::chart;

TRandomSourcePanel::TRandomSourcePanel(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    ESamples = new QLineEdit(this);
    ESamples->setObjectName("ESamples");
    auto* label = new QLabel("&Number of sample values:", this);
    label->setBuddy(ESamples);
    CBSamplesDefault = new QCheckBox("&Default", this);
    CBSamplesDefault->setObjectName("CBSamplesDefault");
    BApplyRandom = new QPushButton("&Apply", this);
    BApplyRandom->setObjectName("BApplyRandom");
    BApplyRandom->setEnabled(false);
    LMessage = new QLabel(this);
    LMessage->setObjectName("LMessage");
    LMessage->setTextFormat(Qt::PlainText);
    grid->addWidget(label, 0, 0);
    grid->addWidget(ESamples, 0, 1);
    grid->addWidget(CBSamplesDefault, 0, 2);
    grid->addWidget(BApplyRandom, 1, 1);
    grid->addWidget(LMessage, 2, 0, 1, 3);
    grid->setRowStretch(3, 1);

    connect(ESamples, &QLineEdit::textChanged, this, [this] {
        if (!FLoading) SamplesEdited();
    });
    connect(CBSamplesDefault, &QCheckBox::toggled, this, [this](bool on) {
        if (FLoading || !on || !FSeries) return;
        ESamples->setText(QString::number(FSeries->DefaultSampleCount()));
        CBSamplesDefault->setEnabled(false);
    });
    connect(BApplyRandom, &QPushButton::clicked, this, [this] {
        long long n = 0;
        if (!FSeries || !ParseInteger(ESamples->text(), n) || n < 1 || n > MaxSampleValues) return;
        FSeries->FillSampleValues(int(n));
        BApplyRandom->setEnabled(false);
    });
}

void TRandomSourcePanel::SetSeries(TChartSeries* series) {
    FSeries = series;
    FLoading = true;
    LMessage->clear();
    if (series) {
        const int stored = series->SampleCount();
        ESamples->setText(QString::number(stored > 0 ? stored : series->DefaultSampleCount()));
    } else {
        ESamples->clear();
    }
    UpdateDefault();
    BApplyRandom->setEnabled(false);
    FLoading = false;
}

void TRandomSourcePanel::UpdateDefault() {
    const QSignalBlocker quiet(CBSamplesDefault);
    const bool isDefault =
        FSeries && (FSeries->SampleCount() <= 0 || FSeries->SampleCount() == FSeries->DefaultSampleCount());
    CBSamplesDefault->setChecked(isDefault);
    CBSamplesDefault->setEnabled(!isDefault);
}

// Every keystroke: partial input ("", "-") stores 0 (the default count)
// and raises nothing; a count out of bounds is refused with a message.
void TRandomSourcePanel::SamplesEdited() {
    if (!FSeries) return;
    long long n = 0;
    const bool number = ParseInteger(ESamples->text(), n);
    if (number && (n < 1 || n > MaxSampleValues)) {
        LMessage->setText(QString("The number of sample values must be from 1 to %1.")
                              .arg(QLocale(QLocale::English).toString(MaxSampleValues)));
        BApplyRandom->setEnabled(false);
        return;
    }
    LMessage->clear();
    FSeries->SetSampleCount(number ? int(n) : 0);
    UpdateDefault();
    BApplyRandom->setEnabled(number);
}

}  // namespace cb::charteditors
