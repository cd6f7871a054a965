#include "charteditors/dialog/ToolsPage.h"

#include "chart/component/CustomChart.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/tools/PlotCustomTool.h"
#include "chart/tools/ToolTypes.h"
#include "charteditors/common/EditorHelpers.h"
#include "charteditors/common/EditorRegistry.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <vector>

namespace cb::charteditors {

using namespace cb::chart;

namespace {
constexpr int ObjectRole = Qt::UserRole;

constexpr int IconRole = Qt::UserRole + 2;

TPlotCustomTool* ToolOf(const QListWidgetItem* item) {
    return item ? static_cast<TPlotCustomTool*>(item->data(ObjectRole).value<void*>()) : nullptr;
}

// The picture of a tool class: its own, else its parent class'.
std::string ParentClassName(const TPlotCustomTool& tool) {
    if (dynamic_cast<const TPlotCustomToolSeries*>(&tool)) return "TPlotCustomToolSeries";
    if (dynamic_cast<const TPlotCustomToolAxis*>(&tool)) return "TPlotCustomToolAxis";
    return "TPlotCustomTool";
}

void SetIconNames(QListWidgetItem* item, const TPlotCustomTool& tool) {
    item->setData(IconRole, QStringList{QString::fromStdString(ToolClassName(tool)),
                                        QString::fromStdString(ParentClassName(tool))});
}

// An entry of the tools lists: its class' picture, then its text.
class TToolEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QRect r = option.rect;
        painter->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        const QStringList names = index.data(IconRole).toStringList();
        cb::gfx::TBitmap icon;
        if (names.size() == 2 && LoadSeriesClassBitmap(names[0].toStdString(), names[1].toStdString(), icon)) {
            cb::gfx::TCanvas canvas(painter);
            const int x = r.left() + 2, y = r.top() + 1;
            icon.Draw(canvas, TRect{x, y, x + icon.Width(), y + icon.Height()});
        }
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        painter->drawText(QRect(r.left() + 22, r.top() + 2, r.width() - 22, r.height() - 2),
                          Qt::AlignLeft | Qt::AlignTop, index.data().toString());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {22 + option.fontMetrics.horizontalAdvance(index.data().toString()) + 4, 18};
    }
};
}  // namespace

std::string ToolClassName(const TPlotCustomTool& tool) {
    for (int i = 0; i < ToolTypes().Count(); ++i)
        if (ToolTypes().GetItem(i)->Type == std::type_index(typeid(tool))) return ToolTypes().GetItem(i)->Name;
    return {};
}

std::string ToolDescription(const TPlotCustomTool& tool) {
    std::string d = tool.DescriptionText();
    return d.empty() ? ToolClassName(tool) : d;
}

// --- gallery ---

TPlotToolsGallery::TPlotToolsGallery(QWidget* owner) : QDialog(owner) {
    setObjectName("PlotToolsGallery");
    setWindowTitle("Chart Tools Gallery");
    auto* l = new QVBoxLayout(this);
    TabControl1 = new QTabBar(this);
    TabControl1->setObjectName("TabControl1");
    TabControl1->addTab(QString::fromStdString(PlotText(TPlotText::txtSeries)));
    TabControl1->addTab("Axis");
    TabControl1->addTab(QString::fromStdString(PlotText(TPlotText::txtOther)));
    l->addWidget(TabControl1);
    LBTool = new QListWidget(this);
    LBTool->setObjectName("LBTool");
    LBTool->setSortingEnabled(true);
    LBTool->setItemDelegate(new TToolEntryDelegate(LBTool));
    l->addWidget(LBTool, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    BOk = new QPushButton("&Add", this);
    BOk->setObjectName("BOk");
    BOk->setDefault(true);
    BCan = new QPushButton("Cancel", this);
    BCan->setObjectName("BCan");
    buttons->addWidget(BOk);
    buttons->addWidget(BCan);
    l->addLayout(buttons);
    connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BCan, &QPushButton::clicked, this, &QDialog::reject);
    connect(LBTool, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(TabControl1, &QTabBar::currentChanged, this, [this] { FillList(); });
    resize(300, 320);
    FillList();
    ApplyTranslationHook(this);
}

void TPlotToolsGallery::FillList() {
    LBTool->clear();
    const int tab = TabControl1->currentIndex();
    for (int i = 0; i < ToolTypes().Count(); ++i) {
        const TToolClass* c = ToolTypes().GetItem(i);
        const std::unique_ptr<TPlotCustomTool> sample = c->Create();
        const bool series = dynamic_cast<TPlotCustomToolSeries*>(sample.get()) != nullptr;
        const bool axis = dynamic_cast<TPlotCustomToolAxis*>(sample.get()) != nullptr;
        if ((tab == 0 && !series) || (tab == 1 && !axis) || (tab == 2 && (series || axis))) continue;
        auto* item = new QListWidgetItem(QString::fromStdString(ToolDescription(*sample)), LBTool);
        item->setData(ObjectRole, QVariant::fromValue(static_cast<const void*>(c)));
        SetIconNames(item, *sample);
    }
    if (LBTool->count() > 0) LBTool->setCurrentRow(0);
}

const TToolClass* TPlotToolsGallery::SelectedClass() const {
    const QListWidgetItem* item = LBTool->currentItem();
    return item ? static_cast<const TToolClass*>(item->data(ObjectRole).value<const void*>()) : nullptr;
}

// --- tools page ---

TFormPlotTools::TFormPlotTools(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotTools");
    auto* l = new QVBoxLayout(this);
    auto* top = new QHBoxLayout();
    BAdd = new QPushButton("&Add...", this);
    BAdd->setObjectName("BAdd");
    BDelete = new QPushButton("&Delete", this);
    BDelete->setObjectName("BDelete");
    CBActive = new QCheckBox("A&ctive", this);
    CBActive->setObjectName("CBActive");
    BMoveUp = new QToolButton(this);
    BMoveUp->setObjectName("BMoveUp");
    BMoveUp->setArrowType(Qt::UpArrow);
    BMoveDown = new QToolButton(this);
    BMoveDown->setObjectName("BMoveDown");
    BMoveDown->setArrowType(Qt::DownArrow);
    for (QWidget* w : {static_cast<QWidget*>(BAdd), static_cast<QWidget*>(BDelete), static_cast<QWidget*>(BMoveUp),
                       static_cast<QWidget*>(BMoveDown), static_cast<QWidget*>(CBActive)})
        top->addWidget(w);
    top->addStretch(1);
    l->addLayout(top);
    auto* row = new QHBoxLayout();
    LBTools = new QListWidget(this);
    LBTools->setObjectName("LBTools");
    LBTools->setFixedWidth(120);
    LBTools->setItemDelegate(new TToolEntryDelegate(LBTools));
    LBTools->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PanelToolEditor = new QWidget(this);
    PanelToolEditor->setObjectName("PanelToolEditor");
    auto* pl = new QVBoxLayout(PanelToolEditor);
    pl->setContentsMargins(0, 0, 0, 0);
    row->addWidget(LBTools);
    row->addWidget(PanelToolEditor, 1);
    l->addLayout(row, 1);

    ChooseToolClass = [this]() -> const TToolClass* {
        TPlotToolsGallery gallery(EditorDialogOwner(this));
        if (gallery.exec() != QDialog::Accepted) return nullptr;
        return gallery.SelectedClass();
    };
    connect(LBTools, &QListWidget::currentRowChanged, this, [this] {
        if (!Filling()) ListClick();
    });
    connect(BAdd, &QPushButton::clicked, this, [this] {
        if (!Chart()) return;
        if (const TToolClass* c = ChooseToolClass ? ChooseToolClass() : nullptr) AddTool(*c);
    });
    connect(BDelete, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(CBActive, &QCheckBox::toggled, this, [this](bool on) {
        if (TPlotCustomTool* t = SelectedTool(); t && !Filling()) t->SetActive(on);
    });
    connect(BMoveUp, &QToolButton::clicked, this, [this] { MoveSelected(-1); });
    connect(BMoveDown, &QToolButton::clicked, this, [this] { MoveSelected(1); });
}

TFormPlotTools::~TFormPlotTools() {
    FreeEditor();
}

TCustomChart* TFormPlotTools::Chart() const {
    return Edited().As<TCustomChart>();
}

TPlotCustomTool* TFormPlotTools::SelectedTool() const {
    return ToolOf(LBTools->currentItem());
}

void TFormPlotTools::FormShow() {
    if (!Chart()) return;
    FillList();
    if (LBTools->count() > 0) {
        LBTools->setCurrentRow(0);
        ListClick();
    }
    ApplyTranslationHook(this);
}

void TFormPlotTools::FillList() {
    TFilling filling(*this);
    LBTools->clear();
    TCustomChart* c = Chart();
    if (c)
        for (TPlotCustomTool* t : c->Tools().Items()) {
            if (t->Internal()) continue;
            auto* item = new QListWidgetItem(QString::fromStdString(ToolDescription(*t)), LBTools);
            item->setData(ObjectRole, QVariant::fromValue(static_cast<void*>(t)));
            SetIconNames(item, *t);
        }
    CBActive->setEnabled(LBTools->count() > 0);
    BDelete->setEnabled(LBTools->count() > 0);
    UpdateMoveButtons();
}

void TFormPlotTools::RefreshList() {
    TCustomChart* c = Chart();
    if (c && c->Tools().Count() != LBTools->count()) {
        FillList();
        if (LBTools->count() > 0) LBTools->setCurrentRow(0);
    }
    if (LBTools->currentItem()) ListClick();
}

void TFormPlotTools::SelectTool(TPlotCustomTool* tool) {
    for (int i = 0; i < LBTools->count(); ++i)
        if (ToolOf(LBTools->item(i)) == tool) {
            {
                TFilling filling(*this);
                LBTools->setCurrentRow(i);
            }
            ListClick();
            return;
        }
}

void TFormPlotTools::FreeEditor() {
    delete FEditor;
    FEditor = nullptr;
}

void TFormPlotTools::ListClick() {
    TPlotCustomTool* t = SelectedTool();
    if (!t) {
        UpdateMoveButtons();
        return;
    }
    {
        TFilling filling(*this);
        CBActive->setChecked(t->Active());
    }
    FreeEditor();
    if (std::unique_ptr<TEditorForm> editor = CreateEditorByName(t->EditorClassName(), PanelToolEditor)) {
        EmbedFormWithObject(editor.get(), PanelToolEditor, TEditedObject::Element(t));
        PanelToolEditor->layout()->addWidget(editor.get());
        FEditor = editor.release();
    }
    UpdateMoveButtons();
}

TPlotCustomTool* TFormPlotTools::AddTool(const TToolClass& toolClass) {
    TCustomChart* c = Chart();
    if (!c) return nullptr;
    std::unique_ptr<TPlotCustomTool> made = toolClass.Create();
    TPlotCustomTool* tool = made.release();
    c->Tools().AddTool(tool);  // the chart's tools own it from now on
    tool->SetName(MakeUniqueComponentName(
        [c, tool](const std::string& name) {
            for (TPlotCustomTool* t : c->Tools().Items())
                if (t != tool && t->Name() == name) return true;
            return false;
        },
        "ChartTool"));
    if (OnToolAdded) OnToolAdded(tool);
    FillList();
    LBTools->setCurrentRow(LBTools->count() - 1);
    LBTools->setFocus();
    return tool;
}

void TFormPlotTools::DeleteSelected() {
    TPlotCustomTool* t = SelectedTool();
    if (!t) return;
    if (!ConfirmDelete(ToolDescription(*t), this)) return;
    const int index = LBTools->currentRow();
    if (OnToolDeleted) OnToolDeleted(t);
    // The editor works on the tool: it goes first.
    FreeEditor();
    delete t;
    FillList();
    {
        TFilling filling(*this);
        if (index >= 2)
            LBTools->setCurrentRow(index - 1);
        else if (LBTools->count() > 0)
            LBTools->setCurrentRow(LBTools->count() - 1);
    }
    BDelete->setEnabled(LBTools->currentItem() != nullptr);
    if (BDelete->isEnabled()) ListClick();
}

void TFormPlotTools::MoveSelected(int by) {
    TCustomChart* c = Chart();
    const int from = LBTools->currentRow(), to = from + by;
    if (!c || from < 0 || to < 0 || to >= LBTools->count()) return;
    TPlotCustomTool* a = ToolOf(LBTools->item(from));
    TPlotCustomTool* b = ToolOf(LBTools->item(to));
    const std::vector<TPlotCustomTool*> items = c->Tools().Items();
    auto indexOf = [&items](TPlotCustomTool* t) { return int(std::find(items.begin(), items.end(), t) - items.begin()); };
    // The later of the two and every tool after it leave and join again, in
    // the new order.
    const int i = std::min(indexOf(a), indexOf(b)), j = std::max(indexOf(a), indexOf(b));
    std::vector<TPlotCustomTool*> order(items.begin() + i, items.end());
    std::swap(order[0], order[std::size_t(j - i)]);
    for (TPlotCustomTool* t : order) c->Tools().Remove(t);
    for (TPlotCustomTool* t : order) c->Tools().Add(t);
    {
        TFilling filling(*this);
        QListWidgetItem* moved = LBTools->takeItem(from);
        LBTools->insertItem(to, moved);
        LBTools->setCurrentRow(to);
    }
    c->Invalidate();
    UpdateMoveButtons();
}

void TFormPlotTools::UpdateMoveButtons() {
    const int i = LBTools->currentRow();
    BMoveUp->setEnabled(i > 0);
    BMoveDown->setEnabled(i >= 0 && i < LBTools->count() - 1);
}

}  // namespace cb::charteditors
