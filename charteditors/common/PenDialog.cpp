#include "charteditors/common/PenDialog.h"

#include "chart/style/ChartPen.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"

#include "platform/gfx/Color.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace cb::charteditors {

using cb::chart::TChartPen;
using cb::gfx::TColor;

namespace {

constexpr int SmallDotsEntry = 5;

// Each entry: a 28-pixel sample line in the entry's style and the pen's
// colour (white, or black for a white pen, when it would not show), then
// the text.
class TPenStyleDelegate : public QStyledItemDelegate {
public:
    TPenStyleDelegate(QObject* parent, std::function<TColor()> penColor)
        : QStyledItemDelegate(parent), FPenColor(std::move(penColor)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor back = selected ? option.palette.highlight().color() : option.palette.base().color();
        painter->fillRect(option.rect, back);
        QColor line = cb::gfx::ToQColor(cb::chart::ColorToRGB(FPenColor()));
        if (line.rgb() == back.rgb()) line = line.rgb() == QColor(Qt::white).rgb() ? Qt::black : Qt::white;
        QPen pen(line);
        switch (index.row()) {
        case 1:
            pen.setStyle(Qt::DashLine);
            break;
        case 2:
            pen.setStyle(Qt::DotLine);
            break;
        case 3:
            pen.setStyle(Qt::DashDotLine);
            break;
        case 4:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        case SmallDotsEntry:
            pen.setDashPattern({1, 1});
            break;
        default:
            pen.setStyle(Qt::SolidLine);
        }
        const QRect r = option.rect;
        painter->setPen(pen);
        painter->drawLine(r.left() + 2, r.top() + r.height() / 2, r.left() + 30, r.top() + r.height() / 2);
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        painter->drawText(r.adjusted(34, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        return {s.width() + 34, std::max(16, s.height())};
    }

private:
    std::function<TColor()> FPenColor;
};

}  // namespace

TPenDialog::TPenDialog(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Border Editor");
    CBVisible = new QCheckBox("&Visible", this);
    LStyle = new QLabel("&Style:", this);
    CBStyle = new QComboBox(this);
    CBStyle->addItems({"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"});
    CBStyle->setItemDelegate(new TPenStyleDelegate(CBStyle, [this] {
        cb::gfx::TPen* pen = EditedPen();
        return pen ? pen->Color() : cb::gfx::clBlack;
    }));
    LStyle->setBuddy(CBStyle);
    LWidth = new QLabel("&Width:", this);
    SEWidth = new QSpinBox(this);
    SEWidth->setRange(1, 100);
    SEWidth->setValue(1);
    LWidth->setBuddy(SEWidth);
    BColor = new TColorButton(this);
    BColor->setText("&Color...");
    BColor->setMinimumWidth(95);
    CBEndStyle = new QComboBox(this);
    CBEndStyle->addItems({"Round", "Square", "Flat"});
    BOk = new QPushButton("OK", this);
    BOk->setDefault(true);
    BCancel = new QPushButton("Cancel", this);

    auto* grid = new QGridLayout;
    grid->addWidget(CBVisible, 0, 0, 1, 2);
    grid->addWidget(LStyle, 1, 0);
    grid->addWidget(CBStyle, 1, 1);
    grid->addWidget(LWidth, 2, 0);
    grid->addWidget(SEWidth, 2, 1);
    grid->addWidget(BColor, 3, 0);
    grid->addWidget(CBEndStyle, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(buttons);
    setTabOrder(CBVisible, CBStyle);
    setTabOrder(CBStyle, SEWidth);
    setTabOrder(SEWidth, BColor);
    setTabOrder(BColor, CBEndStyle);
    setTabOrder(CBEndStyle, BOk);
    setTabOrder(BOk, BCancel);

    connect(CBStyle, &QComboBox::activated, this, [this](int i) { StyleChanged(i); });
    connect(SEWidth, &QSpinBox::valueChanged, this, [this](int v) { WidthChanged(v); });
    connect(CBVisible, &QCheckBox::clicked, this, [this] { VisibleClicked(); });
    connect(CBEndStyle, &QComboBox::activated, this, [this](int i) { EndStyleChanged(i); });
    BColor->OnClick = [this] {
        SetModified();
        CBStyle->update();
    };
    connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

cb::gfx::TPen* TPenDialog::EditedPen() const {
    return PenOf(Edited().Get());
}

TChartPen* TPenDialog::EditedChartPen() const {
    return Edited().As<TChartPen>();
}

void TPenDialog::FormShow() {
    cb::gfx::TPen* pen = EditedPen();
    if (!pen) return;
    if (TChartPen* chartPen = EditedChartPen())
        KeepBackup(*chartPen);
    else
        KeepBackup(*pen);
    // The drawing layer has geometric pens with end styles and one-pixel
    // alternate dots, so a chart pen gets "Small Dots" and the end styles.
    while (CBStyle->count() > 5) CBStyle->removeItem(CBStyle->count() - 1);
    if (TChartPen* chartPen = EditedChartPen()) {
        CBVisible->setVisible(true);
        CBVisible->setChecked(chartPen->Visible());
        CBStyle->addItem("Small Dots");
        if (chartPen->SmallDots()) {
            CBStyle->setCurrentIndex(SmallDotsEntry);
            SEWidth->setEnabled(false);
        } else {
            CBStyle->setCurrentIndex(std::min(int(pen->Style()), 4));
            SEWidth->setEnabled(true);
        }
        CBEndStyle->setVisible(true);
        CBEndStyle->setCurrentIndex(int(chartPen->EndStyle()));
    } else {
        // A plain pen has no visibility or end style of its own.
        CBVisible->setVisible(false);
        CBStyle->setCurrentIndex(std::min(int(pen->Style()), 4));
        CBEndStyle->setVisible(false);
    }
    SEWidth->setValue(std::clamp(pen->Width(), 1, 100));
    BColor->LinkColor(
        pen, [pen] { return pen->Color(); }, [pen](TColor c) { pen->SetColor(c); });
    SetModified(false);
}

void TPenDialog::StyleChanged(int index) {
    cb::gfx::TPen* pen = EditedPen();
    if (!pen || Filling()) return;
    SetModified();
    TChartPen* chartPen = EditedChartPen();
    if (chartPen && index == SmallDotsEntry) {
        chartPen->SetSmallDots(true);
        SEWidth->setEnabled(false);
        return;
    }
    pen->SetStyle(cb::gfx::TPenStyle(index));
    if (chartPen) chartPen->SetSmallDots(false);
    SEWidth->setEnabled(true);
}

void TPenDialog::WidthChanged(int value) {
    cb::gfx::TPen* pen = EditedPen();
    if (!pen || Filling() || !isVisible()) return;
    SetModified();
    // Geometric pens draw any style at any width: the style stays enabled.
    pen->SetWidth(value);
}

void TPenDialog::VisibleClicked() {
    TChartPen* pen = EditedChartPen();
    if (!pen || Filling() || !isVisible()) return;
    SetModified();
    pen->SetVisible(CBVisible->isChecked());
}

void TPenDialog::EndStyleChanged(int index) {
    // Only a chart pen has an end style.
    TChartPen* pen = EditedChartPen();
    if (!pen || Filling()) return;
    SetModified();
    pen->SetEndStyle(cb::gfx::TPenEndStyle(index));
}

void TPenDialog::RestoreBackup() {
    if (Modified()) TEditorForm::RestoreBackup();
}

bool EditChartPen(QWidget* button, const TEditedObject& pen, bool hideColor) {
    auto dialog = CreateEditorDialog<TPenDialog>(button);
    dialog->BindObject(pen);
    if (hideColor) dialog->BColor->hide();
    return dialog->exec() == QDialog::Accepted;
}

}  // namespace cb::charteditors
