#pragma once
// "Axis Increment": asks for an axis increment, a number, or for date-time
// values one of the standard steps or a custom number of days and a time.
// The caller sets the four settings, runs exec() and reads them after OK.
//
// The step list has 26 captions ("One Millisecond" .. "One Year") and the
// engine's step table 27 entries (1 microsecond .. 365 days): caption i
// stands for table entry i + 1, in every direction.
#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cb::charteditors {

class TAxisIncrement : public QDialog {
public:
    explicit TAxisIncrement(QWidget* owner = nullptr);

    bool IsDateTime = false;
    bool IsExact = false;
    // Days in date-time mode.
    double Increment = 0;
    // An entry of the engine's step table; NoStep for none.
    int Step = NoStep;
    static constexpr int NoStep = 27;

    QGroupBox* RadioGroup1;
    QRadioButton* RBStandard;
    QRadioButton* RBCustom;
    QComboBox* CBSteps;
    QLabel* LCustom;
    QLineEdit* ECustom;
    QCheckBox* CBExact;
    QPushButton* BOk;
    QPushButton* BCancel;

    // The step table entry of a caption of the list, and back (-1: none).
    static int StepOfCaption(int captionIndex) { return captionIndex + 1; }
    static int CaptionOfStep(int step) { return step >= 1 && step < NoStep ? step - 1 : -1; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ChooseStandard();
    void ChooseCustom();
    void OkClicked();
};

// The caption of a step of the engine's table ("" for none).
std::string DateTimeStepCaption(int step);
// An increment of days as "[days] [hh:nn:ss]".
std::string CustomIncrementText(double days);
// Reads "[days] [time]", a number or a time; throws cb::chart::ChartException
// naming the text when it is none of them.
double ParseCustomIncrement(const std::string& text);
// The text that names an increment on the axis page.
std::string IncrementText(bool isDateTime, bool exact, const std::string& numberFormat, double increment);
// "Incorrect value. Reason: ..." in a plain message box.
void ShowIncorrectValue(const std::string& message, QWidget* owner = nullptr);

}  // namespace cb::charteditors
