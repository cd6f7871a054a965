#include "charteditors/dialog/TitlePage.h"

#include "chart/component/CustomChart.h"
#include "charteditors/dialog/PageKit.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

namespace {
QString Joined(const std::vector<std::string>& lines) {
    QStringList l;
    for (const std::string& s : lines) l << QString::fromStdString(s);
    return l.join('\n');
}
std::vector<std::string> Lines(const QString& text) {
    std::vector<std::string> out;
    if (text.isEmpty()) return out;
    for (const QString& l : text.split('\n')) out.push_back(l.toStdString());
    return out;
}
const TAlignment AlignOfIndex[3] = {taLeftJustify, taCenter, taRightJustify};
}  // namespace

TFormPlotTitle::TFormPlotTitle(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotTitle");
    auto* l = new QVBoxLayout(this);
    CBTitles = new QComboBox(this);
    CBTitles->setObjectName("CBTitles");
    CBTitles->addItems({"Title", "SubTitle", "SubFoot", "Foot"});
    l->addWidget(CBTitles);
    PageControlTitle = new QTabWidget(this);
    l->addWidget(PageControlTitle, 1);
    {
        TEditorGrid g(NewTab(PageControlTitle, "Style"));
        MText = new QPlainTextEdit(this);
        MText->setObjectName("MText");
        g.Place(MText, "&Text:");
        CBVisible = g.Check("CBVisible", "&Visible");
        CBAdjust = g.Check("CBAdjust", "&Adjust Frame");
        CBAlign = g.Combo("CBAlign", "Alig&nment:", {"Left", "Center", "Right"});
    }
    {
        TEditorGrid g(NewTab(PageControlTitle, "Position"));
        CBCustPos = g.Check("CBCustPos", "&Custom:");
        UDLeft = g.Spin("UDLeft", "L&eft:", -1000, 1000, 5);
        UDTop = g.Spin("UDTop", "T&op:", -1000, 1000, 5);
    }
    ShapeTab = NewTab(PageControlTitle, "Format");

    auto title = [this] { return Title(); };
    connect(CBTitles, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Filling() || !Chart()) return;
        TCustomChart* c = Chart();
        TChartTitle* const titles[4] = {&c->Title(), &c->SubTitle(), &c->SubFoot(), &c->Foot()};
        SelectTitle(titles[std::clamp(i, 0, 3)]);
    });
    connect(MText, &QPlainTextEdit::textChanged, this, [this, title] {
        if (Filling() || FAssigning || !title()) return;
        const std::vector<std::string> lines = Lines(MText->toPlainText());
        if (lines != title()->Text()) title()->SetText(lines);
    });
    OnCheck(CBVisible, this, [title](bool on) { title()->SetVisible(on); });
    OnCheck(CBAdjust, this, [title](bool on) { title()->SetAdjustFrame(on); });
    OnIndex(CBAlign, this, [title](int i) { title()->SetAlignment(AlignOfIndex[std::min(i, 2)]); });
    OnCheck(CBCustPos, this, [this, title](bool on) {
        title()->SetCustomPosition(on);
        UDLeft->setEnabled(on);
        UDTop->setEnabled(on);
    });
    OnSpin(UDLeft, this, [title](int v) {
        if (title()->CustomPosition() && title()->Left() != v) title()->SetLeft(v);
    });
    OnSpin(UDTop, this, [title](int v) {
        if (title()->CustomPosition() && title()->Top() != v) title()->SetTop(v);
    });
}

TChartTitle* TFormPlotTitle::Title() const {
    return Edited().As<TChartTitle>();
}

TCustomChart* TFormPlotTitle::Chart() const {
    return dynamic_cast<TCustomChart*>(Edited().Get().OwnerObject());
}

int TFormPlotTitle::EntryOfTitle(const TChartTitle* title) const {
    TCustomChart* c = Chart();
    if (!c) return 0;
    if (title == &c->Title()) return 0;
    if (title == &c->SubTitle()) return 1;
    if (title == &c->SubFoot()) return 2;
    return 3;
}

void TFormPlotTitle::SelectTitle(TChartTitle* title) {
    TCustomChart* c = Chart();
    if (!c || !title) return;
    BindObject(TEditedObject::Part(title, static_cast<QObject*>(c)));
    if (!isVisible()) LoadControls();
}

void TFormPlotTitle::FormShow() {
    if (!Title()) return;
    CBTitles->setCurrentIndex(EntryOfTitle(Title()));
    LoadTitle();
}

void TFormPlotTitle::LoadTitle() {
    TChartTitle* t = Title();
    CBAlign->setCurrentIndex(t->Alignment() == taLeftJustify ? 0 : t->Alignment() == taRightJustify ? 2 : 1);
    CBVisible->setChecked(t->Visible());
    CBAdjust->setChecked(t->AdjustFrame());
    CBCustPos->setChecked(t->CustomPosition());
    UDLeft->setValue(t->Left());
    UDTop->setValue(t->Top());
    UDLeft->setEnabled(t->CustomPosition());
    UDTop->setEnabled(t->CustomPosition());
    FAssigning = true;
    MText->setPlainText(Joined(t->Text()));
    FAssigning = false;
    const TEditedObject shape = TEditedObject::Part(static_cast<TPlotCustomShape*>(t), Edited().Get().OwnerObject());
    if (FShape)
        FShape->BindObject(shape);
    else
        FShape = EmbedEditorByName("TFormPlotShape", ShapeTab, shape);
}

}  // namespace cb::charteditors
