#include "charteditors/dialog/PagingPage.h"

#include "chart/component/CustomChart.h"
#include "chartexport/preview/ChartPreview.h"
#include "charteditors/dialog/PageKit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

#include <memory>

namespace cb::charteditors {

using namespace cb::chart;
using namespace cb::chartexport;

TChartPageNavigator::TChartPageNavigator(QWidget* parent) : TCustomPlotNavigator(parent) {
    // Only the four page buttons: a chart's pages are not edited.
    for (TPlotNavigateBtn b : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel}) Button(b)->hide();
}

TCustomAxisPanel* TChartPageNavigator::Chart() const {
    return dynamic_cast<TCustomAxisPanel*>(Panel());
}

void TChartPageNavigator::SetPanel(TCustomPlotPanel* panel) {
    TCustomPlotNavigator::SetPanel(dynamic_cast<TCustomAxisPanel*>(panel));
    EnableButtons();
}

void TChartPageNavigator::EnableButtons() {
    TCustomPlotNavigator::EnableButtons();
    TCustomAxisPanel* c = Chart();
    const int page = c ? c->Page() : 1;
    const int count = c ? c->NumPages() : 1;
    Button(nbFirst)->setEnabled(c && page > 1);
    Button(nbPrior)->setEnabled(c && page > 1);
    Button(nbNext)->setEnabled(c && page < count);
    Button(nbLast)->setEnabled(c && page < count);
}

int TChartPageNavigator::PageCount() {
    TCustomAxisPanel* c = Chart();
    return c ? c->NumPages() : 1;
}

void TChartPageNavigator::Print() {
    TCustomAxisPanel* c = Chart();
    if (!c) return;
    std::unique_ptr<QPrinter> printer = NewChartPrinter();
    const int count = c->NumPages();
    if (count < 2) {
        c->PrintPageRange(*printer, 1, 1);
        return;
    }
    QPrintDialog dialog(printer.get(), this);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, count);
    dialog.setFromTo(1, count);
    dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    if (dialog.exec() == QDialog::Accepted) c->PrintPageRange(*printer, dialog.fromPage(), dialog.toPage());
}

void TChartPageNavigator::HandleChartEvent(TPlotEvent& event) {
    auto* series = dynamic_cast<TPlotSeriesEvent*>(&event);
    if (dynamic_cast<TChartChangePage*>(&event) || (series && series->Code == seDataChanged)) EnableButtons();
}

void TChartPageNavigator::BtnClick(TPlotNavigateBtn index) {
    if (TCustomAxisPanel* c = Chart()) {
        const int page = c->Page(), count = c->NumPages();
        if (index == nbFirst && page > 1) c->SetPage(1);
        if (index == nbPrior && page > 1) c->SetPage(page - 1);
        if (index == nbNext && page < count) c->SetPage(page + 1);
        if (index == nbLast && page < count) c->SetPage(count);
    }
    EnableButtons();
    TCustomPlotNavigator::BtnClick(index);
}

TFormPlotPage::TFormPlotPage(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotPage");
    TEditorGrid g(this);
    UDPointsPerPage = g.Spin("UDPointsPerPage", "P&oints per Page:", 0, 32000);
    CBScaleLast = g.Check("CBScaleLast", "&Scale Last Page");
    CBPageLegend = g.Check("CBPageLegend", "&Current page Legend");
    ChartPageNavigator1 = new TChartPageNavigator(this);
    ChartPageNavigator1->setObjectName("ChartPageNavigator1");
    g.Place(ChartPageNavigator1, nullptr);
    LabelPages = new QLabel(this);
    LabelPages->setObjectName("LabelPages");
    g.Place(LabelPages, nullptr);
    CBPageNum = g.Check("CBPageNum", "Show &Page Number");
    CBPageNum->hide();  // no page-number tool class in this program
    g.Layout()->setRowStretch(g.Layout()->rowCount(), 1);

    auto chart = [this] { return Chart(); };
    // An emptied box means no paging.
    connect(UDPointsPerPage->findChild<QLineEdit*>(), &QLineEdit::textEdited, this, [this, chart](const QString& t) {
        if (Filling() || !isVisible() || !t.trimmed().isEmpty()) return;
        chart()->SetMaxPointsPerPage(0);
        RefreshLabel();
    });
    OnSpin(UDPointsPerPage, this, [this, chart](int v) {
        if (!isVisible()) return;
        chart()->SetMaxPointsPerPage(v);
        RefreshLabel();
    });
    OnCheck(CBScaleLast, this, [chart](bool on) { chart()->SetScaleLastPage(on); });
    OnCheck(CBPageLegend, this, [chart](bool on) { chart()->Legend().SetCurrentPage(on); });
    ChartPageNavigator1->OnButtonClicked = [this](TPlotNavigateBtn) { RefreshLabel(); };
}

TCustomChart* TFormPlotPage::Chart() const {
    return Edited().As<TCustomChart>();
}

void TFormPlotPage::RefreshLabel() {
    TCustomChart* c = Chart();
    if (!c) return;
    LabelPages->setText(QString("Page %1 of %2").arg(c->Page()).arg(c->NumPages()));
    ChartPageNavigator1->EnableButtons();
}

void TFormPlotPage::FormShow() {
    TCustomChart* c = Chart();
    if (!c) return;
    if (ChartPageNavigator1->Chart() != c) ChartPageNavigator1->SetChart(c);
    UDPointsPerPage->setValue(c->MaxPointsPerPage());
    CBScaleLast->setChecked(c->ScaleLastPage());
    CBPageLegend->setChecked(c->Legend().CurrentPage());
    RefreshLabel();
}

}  // namespace cb::charteditors
