#include "charteditors/series/SourceEditor.h"

#include "chart/series/ChartSeries.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

TBaseSourceEditor::TBaseSourceEditor(QWidget* owner) : TEditorForm(owner) {
    auto* column = new QVBoxLayout(this);
    Pan = new QWidget(this);
    Pan->setObjectName("Pan");
    auto* row = new QHBoxLayout(Pan);
    row->setContentsMargins(0, 0, 0, 0);
    LLabel = new QLabel("&Source:", Pan);
    CBSources = new QComboBox(Pan);
    CBSources->setObjectName("CBSources");
    LLabel->setBuddy(CBSources);
    BApply = new QPushButton("&Apply", Pan);
    BApply->setObjectName("BApply");
    BApply->setEnabled(false);
    row->addWidget(LLabel);
    row->addWidget(CBSources, 1);
    row->addWidget(BApply);
    column->addWidget(Pan);
    connect(BApply, &QPushButton::clicked, this, [this] {
        if (Apply()) BApply->setEnabled(false);
    });
}

TChartSeries* TBaseSourceEditor::EditedSeries() const {
    return Edited().As<TChartSeries>();
}

void TBaseSourceEditor::FormShow() {
    BApply->setEnabled(false);
}

bool TBaseSourceEditor::CloseQuery() {
    if (!BApply->isEnabled()) return true;
    const auto answer = QMessageBox::question(this, windowTitle(), "Apply Changes ?",
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) {
        BApply->setEnabled(false);
        return true;
    }
    BApply->click();
    return !BApply->isEnabled();
}

}  // namespace cb::charteditors
