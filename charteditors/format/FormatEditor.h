#pragma once
// "Numeric Format": builds a number format from check boxes and counters, or
// takes a date-time, geographic or custom format.
#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QPushButton;
class QWidget;

namespace cb::charteditors {

class TFormatEditor : public QDialog {
public:
    explicit TFormatEditor(QWidget* owner = nullptr);

    // The format given (before showing) and built (after OK).
    std::string Format;
    bool IsDate = false;
    bool IsGeo = false;

    QRadioButton* RBInteger;
    QSpinBox* UpDown1;  // decimals
    QCheckBox* CBFixedDecimals;
    QSpinBox* UpDown2;  // integer digits always shown
    QCheckBox* CBThousands;
    QCheckBox* CBCurrency;
    QCheckBox* CBPercent;
    QRadioButton* RBDate;
    QComboBox* CBDate;
    QRadioButton* RBGeo;
    QComboBox* CBGeo;
    QRadioButton* RBCustom;
    QComboBox* CBCustom;
    QWidget* Panel1;
    QPushButton* Button1;
    QPushButton* Button2;

    // The format the controls stand for.
    std::string TheFormat() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OptionChanged();
    void PercentChanged();
    void ChooseIn(QRadioButton* radio, QComboBox* combo);
    bool FChanging = false;
};

// Edits a value format; returns the built format on OK, else the one given.
// The dialog always has its OK and Cancel buttons: a format that could not
// be confirmed could not be kept either. dateTime opens it in date-time mode.
std::string EditValueFormat(QWidget* owner, const std::string& format, bool dateTime = false);

}  // namespace cb::charteditors
