#include "charteditors/format/FormatEditor.h"

#include "chart/core/PlotHelpers.h"
#include "platform/rtl/FormatSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace cb::charteditors {

namespace {

const QStringList DateFormats = {"mm-yyyy", "mm-dd-yy", "dd-mm-yyyy", "mmm", "ddd", "MM"};

QStringList GeoFormats() {
    return {QString::fromUtf8("ddd\u00B0 mm' ss\".zzz"), "ddd mm' ss\".zzz", "ddd deg mm' ss\".zzz",
            "ddd mm' ss\".zzz", "ddd mm ss.zzz", "ddd mm ss", "ddd mm", QString::fromUtf8("ddd\u00B0"), "ddd"};
}

QComboBox* EditableCombo(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

void ShowIn(QComboBox* combo, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (combo->findText(t, Qt::MatchExactly) < 0) combo->addItem(t);
    combo->setCurrentText(t);
}

}  // namespace

TFormatEditor::TFormatEditor(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Numeric Format");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    RBInteger = new QRadioButton("&Number", this);
    auto* lDecimals = new QLabel("D&ecimals:", this);
    UpDown1 = new QSpinBox(this);
    UpDown1->setRange(0, 20);
    lDecimals->setBuddy(UpDown1);
    CBFixedDecimals = new QCheckBox("F&ixed", this);
    auto* lFixed = new QLabel("&Fixed:", this);
    UpDown2 = new QSpinBox(this);
    UpDown2->setRange(0, 20);
    lFixed->setBuddy(UpDown2);
    CBThousands = new QCheckBox("&Thousands", this);
    CBCurrency = new QCheckBox("C&urrency", this);
    CBPercent = new QCheckBox("&Percent", this);
    RBDate = new QRadioButton("&Date Time:", this);
    CBDate = EditableCombo(this);
    CBDate->addItems(DateFormats);
    const auto& settings = cb::rtl::FormatSettings();
    for (const std::string& f : {settings.ShortDateFormat, settings.ShortTimeFormat})
        if (CBDate->findText(QString::fromStdString(f)) < 0) CBDate->addItem(QString::fromStdString(f));
    RBGeo = new QRadioButton("&Geographic:", this);
    CBGeo = EditableCombo(this);
    RBCustom = new QRadioButton("&Custom:", this);
    CBCustom = EditableCombo(this);
    auto* radios = new QButtonGroup(this);
    for (QRadioButton* r : {RBInteger, RBDate, RBGeo, RBCustom}) radios->addButton(r);
    Panel1 = new QWidget(this);
    Button1 = new QPushButton("OK", Panel1);
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", Panel1);
    auto* panel = new QHBoxLayout(Panel1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addStretch();
    panel->addWidget(Button1);
    panel->addWidget(Button2);

    auto* grid = new QGridLayout;
    grid->addWidget(RBInteger, 0, 0);
    grid->addWidget(lDecimals, 1, 0);
    grid->addWidget(UpDown1, 1, 1);
    grid->addWidget(CBFixedDecimals, 1, 2);
    grid->addWidget(lFixed, 2, 0);
    grid->addWidget(UpDown2, 2, 1);
    grid->addWidget(CBThousands, 3, 0);
    grid->addWidget(CBCurrency, 3, 1);
    grid->addWidget(CBPercent, 3, 2);
    grid->addWidget(RBDate, 4, 0);
    grid->addWidget(CBDate, 4, 1, 1, 2);
    grid->addWidget(RBGeo, 5, 0);
    grid->addWidget(CBGeo, 5, 1, 1, 2);
    grid->addWidget(RBCustom, 6, 0);
    grid->addWidget(CBCustom, 6, 1, 1, 2);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(Panel1);

    for (QRadioButton* r : {RBInteger, RBDate, RBGeo, RBCustom})
        connect(r, &QRadioButton::toggled, this, [this] { OptionChanged(); });
    connect(CBThousands, &QCheckBox::clicked, this, [this] { OptionChanged(); });
    connect(CBCurrency, &QCheckBox::clicked, this, [this] { OptionChanged(); });
    connect(CBPercent, &QCheckBox::toggled, this, [this] { PercentChanged(); });
    for (QComboBox* c : {CBDate, CBGeo, CBCustom})
        connect(c, &QComboBox::currentTextChanged, this, [this](const QString& t) {
            if (!FChanging) Format = t.toStdString();
        });
    connect(Button1, &QPushButton::clicked, this, [this] {
        Format = TheFormat();
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormatEditor::ChooseIn(QRadioButton* radio, QComboBox* combo) {
    const std::string format = Format;
    FChanging = true;
    radio->setChecked(true);
    FChanging = false;
    OptionChanged();
    ShowIn(combo, format);
    combo->setFocus();
}

void TFormatEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    FChanging = true;
    CBGeo->clear();
    CBGeo->addItems(GeoFormats());
    CBCustom->clear();
    CBCustom->addItems({"#.#", "0.0%"});
    FChanging = false;
    const QString given = QString::fromStdString(Format);
    if (IsDate || CBDate->findText(given, Qt::MatchExactly) >= 0) {
        ChooseIn(RBDate, CBDate);
    } else if (IsGeo || CBGeo->findText(given, Qt::MatchExactly) >= 0) {
        ChooseIn(RBGeo, CBGeo);
    } else {
        std::string work = Format;
        auto removeAll = [&work](const std::string& what) {
            bool found = false;
            for (auto p = work.find(what); !what.empty() && p != std::string::npos; p = work.find(what)) {
                work.erase(p, what.size());
                found = true;
            }
            return found;
        };
        FChanging = true;
        CBPercent->setChecked(removeAll("%"));
        CBCurrency->setChecked(removeAll(cb::rtl::FormatSettings().CurrencyString));
        const auto comma = work.find(',');
        CBThousands->setChecked(comma != std::string::npos);
        if (comma != std::string::npos) work.erase(comma, 1);
        int decimals = 0;
        bool fixed = false;
        const auto dot = work.find('.');
        if (dot != std::string::npos) {
            auto end = dot + 1;
            while (end < work.size() && (work[end] == '#' || work[end] == '0')) ++end;
            decimals = int(end - dot - 1);
            fixed = decimals > 0 && work[dot + 1] == '0';
            work.erase(dot, end - dot);
        }
        UpDown1->setValue(std::min(decimals, 20));
        CBFixedDecimals->setChecked(fixed);
        FChanging = false;
        if (work.find_first_not_of("#0") != std::string::npos) {
            // Not a number format this dialog builds: keep it as it came.
            CBFixedDecimals->setChecked(false);
            UpDown1->setValue(0);
            ChooseIn(RBCustom, CBCustom);
        } else {
            FChanging = true;
            RBInteger->setChecked(true);
            FChanging = false;
            OptionChanged();
            PercentChanged();
            UpDown2->setValue(std::min(int(std::count(work.begin(), work.end(), '0')), 20));
        }
    }
    cb::chart::ApplyTranslationHook(this);
}

void TFormatEditor::OptionChanged() {
    if (FChanging) return;
    IsDate = RBDate->isChecked();
    IsGeo = RBGeo->isChecked();
    CBDate->setEnabled(IsDate);
    CBGeo->setEnabled(IsGeo);
    CBCustom->setEnabled(RBCustom->isChecked());
    const bool number = RBInteger->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{UpDown1, CBFixedDecimals, UpDown2, CBThousands, CBCurrency})
        w->setEnabled(number);
    CBPercent->setEnabled(number);
    if (number) PercentChanged();
    if (IsDate) {
        if (CBDate->currentText().isEmpty())
            CBDate->setCurrentText(QString::fromStdString(cb::rtl::FormatSettings().ShortDateFormat));
        CBDate->setFocus();
    } else if (IsGeo) {
        if (CBGeo->currentText().isEmpty()) CBGeo->setCurrentIndex(0);
        CBGeo->setFocus();
    } else if (CBCustom->isEnabled()) {
        CBCustom->setFocus();
    }
}

void TFormatEditor::PercentChanged() {
    // A percentage has no thousands separator or currency symbol.
    const bool percent = CBPercent->isChecked();
    if (percent) {
        CBThousands->setChecked(false);
        CBCurrency->setChecked(false);
    }
    const bool number = RBInteger->isChecked();
    CBThousands->setEnabled(number && !percent);
    CBCurrency->setEnabled(number && !percent);
}

std::string TFormatEditor::TheFormat() const {
    if (RBCustom->isChecked()) return CBCustom->currentText().toStdString();
    if (RBInteger->isChecked()) {
        std::string f = CBCurrency->isChecked() ? cb::rtl::FormatSettings().CurrencyString : std::string();
        const int F = UpDown2->value();
        const bool thousands = CBThousands->isChecked();
        if (F == 0)
            f += thousands ? "#,###" : "#";
        else if (!thousands)
            f += std::string(std::size_t(F), '0');
        else if (F < 4)
            f += "#," + std::string(std::size_t(3 - F), '#') + std::string(std::size_t(F), '0');
        else
            f += std::string(std::size_t(F - 3), '0') + ",000";
        const int D = UpDown1->value();
        if (D > 0) f += "." + std::string(std::size_t(D), CBFixedDecimals->isChecked() ? '0' : '#');
        if (CBPercent->isChecked()) f += "%";
        return f;
    }
    if (RBDate->isChecked()) return CBDate->currentText().toStdString();
    if (RBGeo->isChecked()) return CBGeo->currentText().toStdString();
    return {};
}

std::string EditValueFormat(QWidget* owner, const std::string& format, bool dateTime) {
    TFormatEditor dialog(owner);
    dialog.Format = format;
    dialog.IsDate = dateTime;
    return dialog.exec() == QDialog::Accepted ? dialog.Format : format;
}

}  // namespace cb::charteditors
