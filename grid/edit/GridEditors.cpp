// The editor controls of the grid's control kinds: each wraps a control of
// grid/controls (or a toolkit control) and tells the edit part how to fill
// it, read it back and describe it to the key router. The part does the
// rest: placing, focus, leaving, validation and write-back.
#include "grid/ExtStringGrid.h"
#include "grid/controls/EditWithButton.h"
#include "grid/controls/FlatCombo.h"
#include "grid/controls/SpinEdit.h"
#include "grid/controls/UnitEdit.h"
#include "grid/edit/CharFilter.h"
#include "grid/edit/EditLink.h"
#include "grid/edit/GridEditPart.h"
#include "grid/edit/LookupCompletion.h"
#include "grid/edit/RichEdit.h"
#include "grid/util/DateUtils.h"
#include "grid/util/TextUtils.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QWheelEvent>

#include <cmath>
#include <functional>

namespace cb::grid {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Typed characters of a line edit through the kind's filter; a paste as
// typing. True when the key was taken care of here.
bool FilterLineEditKey(QLineEdit& edit, TEditorType kind, QKeyEvent* event) {
    const TEditText state{edit.text(), edit.hasSelectedText() ? edit.selectionStart() : edit.cursorPosition(),
                          int(edit.selectedText().size())};
    if (event->matches(QKeySequence::Paste)) {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (!data || !data->hasText()) return true;
        if (const auto next = FilterPaste(kind, state, data->text(), edit.maxLength())) {
            edit.setText(next->Text);
            edit.setCursorPosition(next->SelStart + next->SelLength);
        }
        return true;
    }
    const QString text = event->text();
    if (text.size() != 1 || !text.front().isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    QChar ch = text.front();
    const TCharVerdict verdict = FilterTypedChar(kind, state, ch);
    if (verdict == TCharVerdict::Beep) QApplication::beep();
    if (verdict != TCharVerdict::Accept) return true;
    edit.insert(QString(ch));
    return true;
}

// ---------------------------------------------------------------------------
// Spin

class TGridSpin : public TExtGridSpinEdit {
public:
    TGridSpin(TExtStringGrid& grid) : TExtGridSpinEdit(&grid), FGrid(grid) {
        MaxValue = 100;
        MinValue = 0;
        Increment = 1;
    }
    void StepUp() override {
        TExtGridSpinEdit::StepUp();
        Fire(true);
    }
    void StepDown() override {
        TExtGridSpinEdit::StepDown();
        Fire(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End) {
            // Reported once below, not again by the steps.
            FPageKey = true;
            StepByPageKey(key);
            FPageKey = false;
            if (FGrid.OnSpinClick)
                FGrid.OnSpinClick(&FGrid, FGrid.Col(), FGrid.Row(), Value(), key == Qt::Key_PageUp || key == Qt::Key_Home);
            return;
        }
        const TEditorType kind = SpinType() == sptFloat ? edFloatSpinEdit : SpinType() == sptNormal ? edSpinEdit : edNormal;
        if (kind != edNormal && FilterLineEditKey(*this, kind, event)) return;
        TExtGridSpinEdit::keyPressEvent(event);
    }

private:
    void Fire(bool up) {
        if (FPageKey) return;
        const int col = FGrid.Col(), row = FGrid.Row();
        switch (SpinType()) {
        case sptNormal:
            if (FGrid.OnSpinClick) FGrid.OnSpinClick(&FGrid, col, row, Value(), up);
            break;
        case sptFloat:
            if (FGrid.OnFloatSpinClick) FGrid.OnFloatSpinClick(&FGrid, col, row, FloatValue(), up);
            break;
        case sptDate:
            if (FGrid.OnDateSpinClick) FGrid.OnDateSpinClick(&FGrid, col, row, DateValue(), up);
            break;
        case sptTime:
            if (FGrid.OnTimeSpinClick) FGrid.OnTimeSpinClick(&FGrid, col, row, TimeValue(), up);
            break;
        }
    }
    TExtStringGrid& FGrid;
    bool FPageKey = false;
};

class TSpinEditor : public TCellEditor {
public:
    TSpinEditor(TGridEditPart& part) : FPart(part), FSpin(new TGridSpin(part.Grid())) {}
    ~TSpinEditor() override { delete FSpin; }
    QWidget* Widget() override { return FSpin; }
    TEditorFamily Family() const override { return TEditorFamily::Spin; }
    void Fill(TEditorType kind, const std::string& text) override {
        FSpin->MinValue = FPart.SpinMin;
        FSpin->MaxValue = FPart.SpinMax;
        FSpin->Increment = FPart.SpinIncrement;
        FSpin->MinFloatValue = FPart.SpinFloatMin;
        FSpin->MaxFloatValue = FPart.SpinFloatMax;
        FSpin->IncrementFloat = FPart.SpinFloatIncrement;
        FSpin->SetSpinType(kind == edFloatSpinEdit  ? sptFloat
                           : kind == edTimeSpinEdit ? sptTime
                           : kind == edDateSpinEdit ? sptDate
                                                    : sptNormal);
        FSpin->setText(Q(text));
        // The reading of the text: what the value shows until the user
        // changes it.
        switch (FSpin->SpinType()) {
        case sptNormal:
            FSpin->SetValue(FSpin->Value());
            break;
        case sptFloat:
            FSpin->SetFloatValue(FSpin->FloatValue());
            break;
        case sptDate:
            FSpin->SetDateValue(FSpin->DateValue());
            break;
        case sptTime:
            break;
        }
    }
    std::optional<std::string> Value() override {
        switch (FSpin->SpinType()) {
        case sptFloat:
            return FPart.Grid().FormatCellFloat(FSpin->FloatValue());
        case sptDate:
            return FormatShortDate(FSpin->DateValue());
        default:
            return FSpin->text().toStdString();
        }
    }
    void Reset(const std::string& text) override { FSpin->setText(Q(text)); }

private:
    TGridEditPart& FPart;
    TGridSpin* FSpin;  // owned here
};

// ---------------------------------------------------------------------------
// Combos (both widths of text)

// The combo over the cell: the wheel steps one item while the list is
// closed and reports the choice as a click on an item does.
class TGridCombo : public TExtGridComboBox {
public:
    TGridCombo(QWidget* parent, std::function<void(int)> chosen)
        : TExtGridComboBox(parent), FChosen(std::move(chosen)) {}

protected:
    void wheelEvent(QWheelEvent* event) override {
        if (view() && view()->isVisible()) {
            TExtGridComboBox::wheelEvent(event);
            return;
        }
        event->accept();
        const int delta = event->angleDelta().y();
        const int index = currentIndex();
        int next = index;
        if (delta < 0 && index < count() - 1)
            next = index + 1;
        else if (delta > 0 && index > 0)
            next = index - 1;
        if (next == index || delta == 0) return;
        setCurrentIndex(next);
        FChosen(next);
    }

private:
    std::function<void(int)> FChosen;
};

class TComboEditor : public TCellEditor {
public:
    TComboEditor(TGridEditPart& part)
        : FPart(part), FCombo(new TGridCombo(&part.Grid(), [this](int index) { Chosen(index); })) {
        FCombo->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(FCombo, &QComboBox::activated, FCombo, [this](int index) { Chosen(index); });
    }
    ~TComboEditor() override { delete FCombo; }
    QWidget* Widget() override { return FCombo; }
    QWidget* FocusWidget() override { return FCombo->isEditable() ? static_cast<QWidget*>(FCombo->lineEdit()) : FCombo; }
    TEditorFamily Family() const override { return TEditorFamily::Combo; }
    void Fill(TEditorType kind, const std::string& text) override {
        TExtStringGrid& g = FPart.Grid();
        FKind = kind;
        const bool editable = kind == edComboEdit || kind == edUniComboEdit;
        FCombo->hidePopup();
        FCombo->clear();
        for (const std::string& item : FPart.ComboItems) FCombo->addItem(Q(item));
        FCombo->setEditable(editable);
        FCombo->SetFlat(g.Look() == glSoft || g.Look() == glExt);
        FCombo->SetEtched(FCombo->Flat());
        if (editable) {
            FCombo->lineEdit()->installEventFilter(&FPart);
            if (!FCompleting) {
                FCompleting = true;
                QObject::connect(FCombo->lineEdit(), &QLineEdit::textEdited, FCombo, [this](const QString&) { Complete(); });
            }
            FCombo->setCurrentIndex(FCombo->findText(Q(text)));
            FCombo->setEditText(Q(text));
        } else {
            Select(text);
        }
    }
    void Shown() override {
        if (FPart.Grid().MouseActions.DirectComboDrop) FCombo->showPopup();
        if (FPart.Grid().Navigation.AutoComboDropSize) {
            const QFontMetrics fm(FCombo->font());
            int w = FCombo->width();
            for (int i = 0; i < FCombo->count(); ++i) w = std::max(w, fm.horizontalAdvance(FCombo->itemText(i)) + 25);
            FCombo->SetDropWidth(w);
        }
    }
    std::optional<std::string> Value() override { return FCombo->currentText().toStdString(); }
    void Reset(const std::string& text) override {
        if (FCombo->isEditable()) {
            FCombo->setCurrentIndex(FCombo->findText(Q(text)));
            FCombo->setEditText(Q(text));
        } else {
            Select(text);
        }
    }
    void DescribeKeyState(TEditorKeyState& s) override {
        s.ListStyle = !FCombo->isEditable();
        s.DroppedDown = FCombo->view() && FCombo->view()->isVisible();
    }
    void Hidden() override {
        FCombo->hidePopup();
        TExtStringGrid& g = FPart.Grid();
        const std::string text = FCombo->currentText().toStdString();
        if (g.LookupHistory && !text.empty()) {
            auto& items = FPart.ComboItems;
            if (std::find(items.begin(), items.end(), text) == items.end()) items.push_back(text);
        }
    }

private:
    // An item was chosen (clicked, or stepped to with the wheel).
    void Chosen(int index) {
        TExtStringGrid& g = FPart.Grid();
        const std::string text = FCombo->itemText(index).toStdString();
        if (g.OnComboChange) g.OnComboChange(FCombo, g.Col(), g.Row(), index, text);
        if (FPart.OnComboObjectChange) {
            void* object =
                index >= 0 && size_t(index) < FPart.ComboObjects.size() ? FPart.ComboObjects[size_t(index)] : nullptr;
            FPart.OnComboObjectChange(FCombo, g.Col(), g.Row(), index, text, object);
        }
    }
    void Select(const std::string& text) {
        int index = FCombo->findText(Q(text));
        if (index < 0) index = FPart.DefaultComboIndex >= 0 && FPart.DefaultComboIndex < FCombo->count() ? FPart.DefaultComboIndex : 0;
        FCombo->setCurrentIndex(FCombo->count() > 0 ? index : -1);
    }
    void Complete() {
        TExtStringGrid& g = FPart.Grid();
        QLineEdit* edit = FCombo->lineEdit();
        if (!g.Lookup || !edit || edit->hasSelectedText()) return;
        const QString prefix = edit->text().left(edit->cursorPosition());
        if (prefix.size() < FLastPrefixSize) {
            FLastPrefixSize = int(prefix.size());
            return;  // Backspace and Delete do not complete
        }
        FLastPrefixSize = int(prefix.size());
        QStringList items;
        for (int i = 0; i < FCombo->count(); ++i) items << FCombo->itemText(i);
        int index = -1;
        const QString done = CompleteFromItems(prefix, items, g.LookupCaseSensitive, &index);
        if (done.isEmpty()) return;
        edit->setText(done);
        edit->setSelection(int(prefix.size()), int(done.size() - prefix.size()));
    }
    TGridEditPart& FPart;
    TGridCombo* FCombo;  // owned here
    TEditorType FKind = edComboEdit;
    bool FCompleting = false;
    int FLastPrefixSize = 0;
};

// ---------------------------------------------------------------------------
// Edits with a button

class TGridEditBtn : public TExtGridEditBtn {
public:
    TGridEditBtn(TExtStringGrid& grid) : TExtGridEditBtn(&grid), FGrid(grid) {
        OnClickBtn = [this](QObject*) {
            setText(Q(FGrid.EllipsClick(text().toStdString())));
            selectAll();
        };
    }
    TEditorType Kind = edEditBtn;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((Kind == edNumericEditBtn || Kind == edFloatEditBtn) && FilterLineEditKey(*this, Kind, event)) return;
        TExtGridEditBtn::keyPressEvent(event);
    }

private:
    TExtStringGrid& FGrid;
};

class TEditBtnEditor : public TCellEditor {
public:
    TEditBtnEditor(TGridEditPart& part) : FPart(part), FEdit(new TGridEditBtn(part.Grid())) {}
    ~TEditBtnEditor() override { delete FEdit; }
    QWidget* Widget() override { return FEdit; }
    TEditorFamily Family() const override { return TEditorFamily::EditBtn; }
    void Fill(TEditorType kind, const std::string& text) override {
        FEdit->Kind = kind;
        FEdit->setMaxLength(FPart.Grid().MaxEditLength > 0 ? FPart.Grid().MaxEditLength : 32767 * 1024);
        FEdit->setText(Q(text));
    }
    std::optional<std::string> Value() override { return FEdit->text().toStdString(); }
    void Reset(const std::string& text) override {
        FEdit->setText(Q(text));
        FEdit->end(false);
    }

private:
    TGridEditPart& FPart;
    TGridEditBtn* FEdit;  // owned here
};

class TUnitEditor : public TCellEditor {
public:
    TUnitEditor(TGridEditPart& part) : FPart(part), FEdit(new TExtGridUnitEditBtn(&part.Grid())) {}
    ~TUnitEditor() override { delete FEdit; }
    QWidget* Widget() override { return FEdit; }
    TEditorFamily Family() const override { return TEditorFamily::UnitEditBtn; }
    void Fill(TEditorType, const std::string& text) override {
        FEdit->setMaxLength(FPart.Grid().MaxEditLength > 0 ? FPart.Grid().MaxEditLength : 32767 * 1024);
        // Digits and the characters , - . are the number, the rest its unit.
        QString number, unit;
        for (QChar ch : Q(text)) {
            if ((ch.isDigit() && ch.unicode() < 128) || ch == QChar(',') || ch == QChar('-') || ch == QChar('.'))
                number += ch;
            else
                unit += ch;
        }
        FEdit->setText(number);
        FEdit->SetUnitID(unit.toStdString());
    }
    std::optional<std::string> Value() override { return FEdit->text().toStdString() + FEdit->UnitID(); }
    void Reset(const std::string& text) override { Fill(edUnitEditBtn, text); }
    TExtGridUnitEditBtn& Edit() { return *FEdit; }

private:
    TGridEditPart& FPart;
    TExtGridUnitEditBtn* FEdit;  // owned here
};

// ---------------------------------------------------------------------------
// Check box, push button, date and time pickers, wide edit

class TCheckEditor : public TCellEditor {
public:
    TCheckEditor(TGridEditPart& part) : FBox(new QCheckBox(&part.Grid())) {}
    ~TCheckEditor() override { delete FBox; }
    QWidget* Widget() override { return FBox; }
    TEditorFamily Family() const override { return TEditorFamily::CheckBox; }
    void Fill(TEditorType, const std::string& text) override {
        FBox->setText(Q(text));
        FBox->setChecked(false);
        FBox->setAutoFillBackground(true);
    }
    // The box is the user's answer, not the cell's text: nothing is written.
    std::optional<std::string> Value() override { return std::nullopt; }
    void Reset(const std::string&) override {}

private:
    QCheckBox* FBox;  // owned here
};

class TButtonEditor : public TCellEditor {
public:
    TButtonEditor(TGridEditPart& part) : FPart(part), FButton(new QPushButton(&part.Grid())) {
        QObject::connect(FButton, &QPushButton::clicked, FButton, [this] {
            FButton->setText(Q(FPart.Grid().EllipsClick(FButton->text().toStdString())));
        });
    }
    ~TButtonEditor() override { delete FButton; }
    QWidget* Widget() override { return FButton; }
    TEditorFamily Family() const override { return TEditorFamily::Button; }
    void Fill(TEditorType, const std::string& text) override { FButton->setText(Q(text)); }
    std::optional<std::string> Value() override { return std::nullopt; }
    void Reset(const std::string& text) override { FButton->setText(Q(text)); }
    // One pixel larger than the cell on every side.
    void Place(const QRect& cell) override { FButton->setGeometry(cell.adjusted(-1, -1, 1, 1)); }

private:
    TGridEditPart& FPart;
    QPushButton* FButton;  // owned here
};

QDate ToQDate(TDateTime d) {
    int y = 0, m = 0, day = 0;
    DecodeDate(d, y, m, day);
    return QDate(y, m, day);
}

// The date and time pickers. With the part's DateCheckBox a date picker
// shows a check box beside the date: unticked, the cell is emptied.
class TDateEditor : public TCellEditor {
public:
    TDateEditor(TGridEditPart& part)
        : FPart(part), FHolder(new QWidget(&part.Grid())), FCheck(new QCheckBox(FHolder)),
          FEdit(new QDateTimeEdit(FHolder)) {
        auto* row = new QHBoxLayout(FHolder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(2);
        row->addWidget(FCheck);
        row->addWidget(FEdit, 1);
        FHolder->setAutoFillBackground(true);
        // No frame of its own: the picker sits flush in the cell.
        FEdit->setFrame(false);
        QObject::connect(FCheck, &QCheckBox::toggled, FEdit, &QWidget::setEnabled);
    }
    ~TDateEditor() override { delete FHolder; }
    QWidget* Widget() override { return FHolder; }
    QWidget* FocusWidget() override { return FEdit; }
    TEditorFamily Family() const override { return TEditorFamily::DatePicker; }
    void Fill(TEditorType kind, const std::string& text) override {
        FTime = kind == edTimeEdit;
        FWithCheck = !FTime && FPart.DateCheckBox;
        FCheck->setVisible(FWithCheck);
        FEdit->setCalendarPopup(kind == edDateEdit);
        FEdit->setDisplayFormat(FTime ? QStringLiteral("HH:mm:ss") : QStringLiteral("dd/MM/yyyy"));
        Reset(text);
    }
    std::optional<std::string> Value() override {
        if (FTime) return FEdit->time().toString(QStringLiteral("HH:mm:ss")).toStdString();
        if (FWithCheck && !FCheck->isChecked()) return std::string();
        const QDate d = FEdit->date();
        return FormatShortDate(EncodeDate(d.year(), d.month(), d.day()));
    }
    // Unreadable text: now.
    void Reset(const std::string& text) override {
        FCheck->setChecked(true);
        if (FTime) {
            QTime t = QTime::fromString(Q(text), QStringLiteral("H:mm:ss"));
            if (!t.isValid()) t = QTime::fromString(Q(text), QStringLiteral("H:mm"));
            FEdit->setTime(t.isValid() ? t : QTime::currentTime());
            return;
        }
        TDateTime d = 0;
        FEdit->setDate(ParseShortDate(text, d) ? ToQDate(d) : QDate::currentDate());
    }
    void DescribeKeyState(TEditorKeyState& s) override {
        s.DroppedDown = FEdit->calendarPopup() && FEdit->calendarWidget() && FEdit->calendarWidget()->isVisible();
    }
    QCheckBox& CheckBox() { return *FCheck; }

private:
    TGridEditPart& FPart;
    QWidget* FHolder;  // owned here; holds the two below
    QCheckBox* FCheck;
    QDateTimeEdit* FEdit;
    bool FTime = false;
    bool FWithCheck = false;
};

class TUniEditor : public TCellEditor {
public:
    TUniEditor(TGridEditPart& part) : FPart(part), FEdit(new QLineEdit(&part.Grid())) { FEdit->setFrame(false); }
    ~TUniEditor() override { delete FEdit; }
    QWidget* Widget() override { return FEdit; }
    TEditorFamily Family() const override { return TEditorFamily::UniEdit; }
    void Fill(TEditorType, const std::string&) override {
        TExtStringGrid& g = FPart.Grid();
        FEdit->setText(QString::fromStdU16String(g.GetWideCellText(g.RealColIndex(g.Col()), g.Row())));
    }
    std::optional<std::string> Value() override { return EncodeWideText(FEdit->text().toStdU16String()); }
    void Reset(const std::string& text) override {
        const QString q = text.size() >= 2 && text[0] == '|' && text[1] == '\\'
                              ? QString::fromStdU16String(DecodeWideText(text))
                              : Q(text);
        FEdit->setText(q);
    }
    // Inside the cell by the text margin and 2 pixels.
    void Place(const QRect& cell) override {
        const TPoint m = FPart.Grid().TextMargin;
        FEdit->setGeometry(cell.adjusted(m.X + 2, m.Y + 2, -(m.X + 2), -(m.Y + 2)));
    }
    void DescribeKeyState(TEditorKeyState& s) override {
        s.CaretAtStart = FEdit->cursorPosition() == 0;
        s.CaretAtEnd = FEdit->cursorPosition() == FEdit->text().size();
    }

private:
    TGridEditPart& FPart;
    QLineEdit* FEdit;  // owned here
};

// ---------------------------------------------------------------------------
// The custom editor link

class TLinkEditor : public TCellEditor {
public:
    TLinkEditor(TGridEditPart& part) : FPart(part), FHolder(new QWidget(&part.Grid())) {}
    ~TLinkEditor() override { delete FHolder; }
    // The link's control once built; a placeholder before.
    QWidget* Widget() override {
        TEditLink* link = FPart.EditLink;
        QWidget* c = link ? link->EditorControl() : nullptr;
        return c ? c : FHolder;
    }
    TEditorFamily Family() const override { return TEditorFamily::Link; }
    void Fill(TEditorType, const std::string& text) override {
        TEditLink* link = FPart.EditLink;
        TExtStringGrid& g = FPart.Grid();
        if (!link) return;
        const TRect r = g.GetMergedCellRect(g.Col(), g.Row());
        TBrush brush;
        TFont font;
        font.Assign(g.Font());
        brush.SetColor(g.Color());
        g.GetEditorLook(g.RealColIndex(g.Col()), g.Row(), brush, font);
        link->StartEdit(g, g.Col(), g.Row(), QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), brush.Color(),
                        font, text);
        if (QWidget* c = link->EditorControl()) {
            c->installEventFilter(&FPart);
            for (QWidget* child : c->findChildren<QWidget*>()) child->installEventFilter(&FPart);
        }
        if (QWidget* popup = link->PopupWindow()) popup->installEventFilter(&FPart);
    }
    std::optional<std::string> Value() override {
        TEditLink* link = FPart.EditLink;
        return link ? std::optional<std::string>(link->ReadEditorValue()) : std::nullopt;
    }
    void Reset(const std::string& text) override {
        if (FPart.EditLink) FPart.EditLink->WriteEditorValue(text);
    }
    // The link placed its control itself.
    void Place(const QRect& cell) override {
        TEditLink* link = FPart.EditLink;
        if (link && link->EditStyle == esInplace) link->PlaceEditor(cell);
    }
    void DescribeKeyState(TEditorKeyState& s) override {
        if (TEditLink* link = FPart.EditLink) {
            s.WantLeftRight = link->WantKeyLeftRight;
            s.WantUpDown = link->WantKeyUpDown;
            s.WantHomeEnd = link->WantKeyHomeEnd;
            s.WantPriorNext = link->WantKeyPriorNext;
            s.WantReturn = link->WantKeyReturn;
            s.WantEscape = link->WantKeyEscape;
        }
    }
    void Hidden() override {
        if (FPart.EditLink) FPart.EditLink->EndEdit();
    }

private:
    TGridEditPart& FPart;
    QWidget* FHolder;  // owned here; stands in while no link is set
};

}  // namespace

std::unique_ptr<TCellEditor> MakeControlEditor(TGridEditPart& part, TEditorType kind) {
    switch (kind) {
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit:
        return std::make_unique<TSpinEditor>(part);
    case edComboEdit:
    case edComboList:
    case edUniComboEdit:
    case edUniComboList:
        return std::make_unique<TComboEditor>(part);
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edUniEditBtn:
        return std::make_unique<TEditBtnEditor>(part);
    case edUnitEditBtn:
        return std::make_unique<TUnitEditor>(part);
    case edCheckBox:
        return std::make_unique<TCheckEditor>(part);
    case edButton:
        return std::make_unique<TButtonEditor>(part);
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit:
        return std::make_unique<TDateEditor>(part);
    case edUniEdit:
    case edUniMemo:
        return std::make_unique<TUniEditor>(part);
    case edCustom:
        return std::make_unique<TLinkEditor>(part);
    case edRichEdit:
        return MakeRichEditor(part);
    default:
        return nullptr;
    }
}

}  // namespace cb::grid
