#include "charteditors/format/AxisIncrementDialog.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/Strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cmath>

namespace cb::charteditors {

using cb::chart::DateTimeSteps;

namespace {

const char* const StepCaptions[] = {
    "One Millisecond", "One Second",     "Five Seconds",   "Ten Seconds",  "Fifteen Seconds", "Thirty Seconds",
    "One Minute",      "Five Minutes",   "Ten Minutes",    "Fifteen Minutes", "Thirty Minutes", "One Hour",
    "Two Hours",       "Six Hours",      "Twelve Hours",   "One Day",      "Two Days",        "Three Days",
    "One Week",        "Half Month",     "One Month",      "Two Months",   "Three Months",    "Four Months",
    "Six Months",      "One Year"};
constexpr int StepCaptionCount = int(sizeof(StepCaptions) / sizeof(StepCaptions[0]));
static_assert(StepCaptionCount + 1 == cb::chart::DateTimeStepCount);

std::string TimeText(double dayFraction) {
    return cb::rtl::FormatDateTime("hh:nn:ss", dayFraction);
}

// "h:n" or "h:n:s" (seconds may carry a fraction), within a day.
bool TryParseTime(const std::string& text, double& days) {
    int h = 0, m = 0;
    double s = 0;
    char extra = 0;
    int n = std::sscanf(text.c_str(), "%d:%d:%lf%c", &h, &m, &s, &extra);
    if (n < 3) {
        s = 0;
        n = std::sscanf(text.c_str(), "%d:%d%c", &h, &m, &extra);
        if (n != 2) return false;
    } else if (n != 3) {
        return false;
    }
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s >= 60) return false;
    days = (h * 3600.0 + m * 60.0 + s) / 86400.0;
    return true;
}

}  // namespace

std::string DateTimeStepCaption(int step) {
    const int i = TAxisIncrement::CaptionOfStep(step);
    return i < 0 ? std::string() : StepCaptions[i];
}

std::string CustomIncrementText(double days) {
    if (days <= 0) return TimeText(DateTimeSteps[2]);  // one second
    if (days >= 1) {
        const double whole = std::floor(days);
        std::string text = std::to_string(static_cast<long long>(whole));
        const double fraction = days - whole;
        if (fraction > 0) text += " " + TimeText(fraction);
        return text;
    }
    return TimeText(days);
}

double ParseCustomIncrement(const std::string& text) {
    const std::string t = cb::rtl::Trim(text);
    double value = 0;
    const auto blank = t.find(' ');
    if (blank != std::string::npos) {
        double days = 0, time = 0;
        const std::string timeText = cb::rtl::Trim(t.substr(blank + 1, 255));
        if (!cb::rtl::TryStrToFloat(t.substr(0, blank), days) || !TryParseTime(timeText, time))
            throw cb::chart::ChartException("\"" + text + "\" is not a number of days and a time");
        return days + time;
    }
    if (cb::rtl::TryStrToFloat(t, value)) return value;
    if (TryParseTime(t, value)) return value;
    throw cb::chart::ChartException("\"" + text + "\" is not a valid number or time");
}

std::string IncrementText(bool isDateTime, bool exact, const std::string& numberFormat, double increment) {
    if (!isDateTime) return cb::rtl::FormatFloat(numberFormat, increment);
    if (exact) {
        const int step = cb::chart::DateTimeStepIndex(increment);
        if (TAxisIncrement::CaptionOfStep(step) >= 0) return DateTimeStepCaption(step);
    }
    return CustomIncrementText(increment);
}

void ShowIncorrectValue(const std::string& message, QWidget* owner) {
    QMessageBox box(QMessageBox::Warning, QString(),
                    QString::fromStdString(cb::chart::FormatPlotText(cb::chart::TPlotText::txtIncorrectValue, {message})),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

TAxisIncrement::TAxisIncrement(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Axis Increment");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    RadioGroup1 = new QGroupBox("Increment:", this);
    RBStandard = new QRadioButton("&Standard:", RadioGroup1);
    RBCustom = new QRadioButton("&Custom:", RadioGroup1);
    CBSteps = new QComboBox(RadioGroup1);
    for (const char* caption : StepCaptions) CBSteps->addItem(caption);
    auto* group = new QGridLayout(RadioGroup1);
    group->addWidget(RBStandard, 0, 0);
    group->addWidget(CBSteps, 0, 1);
    group->addWidget(RBCustom, 1, 0);
    LCustom = new QLabel("&Increment:", this);
    ECustom = new QLineEdit(this);
    LCustom->setBuddy(ECustom);
    CBExact = new QCheckBox("&Exact Date Time", this);
    BOk = new QPushButton("OK", this);
    BOk->setDefault(true);
    BCancel = new QPushButton("Cancel", this);

    auto* custom = new QHBoxLayout;
    custom->addWidget(LCustom);
    custom->addWidget(ECustom, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CBExact);
    buttons->addStretch();
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(RadioGroup1);
    top->addLayout(custom);
    top->addLayout(buttons);
    setTabOrder(RBStandard, CBSteps);
    setTabOrder(CBSteps, RBCustom);
    setTabOrder(RBCustom, ECustom);
    setTabOrder(ECustom, CBExact);
    setTabOrder(CBExact, BOk);
    setTabOrder(BOk, BCancel);

    connect(RBStandard, &QRadioButton::clicked, this, [this] { ChooseStandard(); });
    connect(RBCustom, &QRadioButton::clicked, this, [this] { ChooseCustom(); });
    connect(CBSteps, &QComboBox::activated, this, [this](int i) { Step = StepOfCaption(i); });
    connect(CBExact, &QCheckBox::clicked, this, [this](bool on) {
        if (on) return;
        IsExact = false;
        RBCustom->setChecked(true);
        ChooseCustom();
    });
    connect(BOk, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TAxisIncrement::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    cb::chart::ApplyTranslationHook(this);
    CBExact->setVisible(IsDateTime);
    CBExact->setChecked(IsExact);
    if (IsDateTime) {
        RadioGroup1->setVisible(true);
        ECustom->setToolTip(QString::fromStdString(cb::chart::PlotText(cb::chart::TPlotText::txtEnterDateTime)));
        ECustom->setText(QString::fromStdString(CustomIncrementText(Increment)));
        if (IsExact && CaptionOfStep(Step) >= 0) {
            RBStandard->setChecked(true);
            CBSteps->setEnabled(true);
            CBSteps->setCurrentIndex(CaptionOfStep(Step));
            ECustom->clear();
            ECustom->setEnabled(false);
            CBExact->setEnabled(true);
            CBSteps->setFocus();
        } else {
            RBCustom->setChecked(true);
            CBSteps->setCurrentIndex(-1);
            CBSteps->setEnabled(false);
            CBExact->setEnabled(false);
            ECustom->setEnabled(true);
        }
    } else {
        // A number: only the edit box (the layout moves it up).
        RadioGroup1->setVisible(false);
        RBCustom->setChecked(true);
        ECustom->setToolTip(QString());
        ECustom->setText(QString::number(Increment, 'g', 15));
        ECustom->setEnabled(true);
        ECustom->setFocus();
        adjustSize();
    }
}

void TAxisIncrement::ChooseStandard() {
    ECustom->setEnabled(false);
    IsExact = true;
    CBExact->setChecked(true);
    CBExact->setEnabled(true);
    CBSteps->setEnabled(true);
    const int caption = CaptionOfStep(Step);
    CBSteps->setCurrentIndex(caption < 0 ? 0 : caption);
    Step = StepOfCaption(CBSteps->currentIndex());
    CBSteps->setFocus();
}

void TAxisIncrement::ChooseCustom() {
    ECustom->setEnabled(true);
    IsExact = false;
    CBExact->setChecked(false);
    CBExact->setEnabled(false);
    CBSteps->setEnabled(false);
    ECustom->setText(QString::fromStdString(CustomIncrementText(Increment)));
    ECustom->setFocus();
}

void TAxisIncrement::OkClicked() {
    try {
        const std::string text = ECustom->text().toStdString();
        if (!IsDateTime) {
            double value = 0;
            if (!cb::rtl::TryStrToFloat(cb::rtl::Trim(text), value))
                throw cb::chart::ChartException("\"" + text + "\" is not a valid number");
            Increment = value;
        } else if (RBCustom->isChecked()) {
            Increment = ParseCustomIncrement(text);
        } else {
            Step = StepOfCaption(std::max(0, CBSteps->currentIndex()));
            Increment = DateTimeSteps[Step];
        }
    } catch (const std::exception& e) {
        ShowIncorrectValue(e.what(), this);
        return;
    }
    accept();
}

}  // namespace cb::charteditors
