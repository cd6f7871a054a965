#pragma once
// Building blocks of the series editors: labelled controls laid out in a
// grid, and the guard that keeps handlers quiet while the controls load.
#include "charteditors/common/EditorForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <functional>
#include <initializer_list>
#include <string>

namespace cb::charteditors {

class TColorButton;
class TButtonPen;

// Adds controls row by row to a grid: a label and its control, or a whole
// row of check boxes and buttons.
class TEditorGrid {
public:
    explicit TEditorGrid(QWidget* page);
    QGridLayout* Layout() const { return FGrid; }
    QCheckBox* Check(const char* name, const char* caption);
    QSpinBox* Spin(const char* name, const char* caption, int low, int high, int step = 1);
    QComboBox* Combo(const char* name, const char* caption, std::initializer_list<const char*> items);
    QLineEdit* Edit(const char* name, const char* caption);
    TColorButton* ColorButton(const char* name, const char* caption);
    TButtonPen* PenButton(const char* name, const char* caption);
    // A push button that runs onClick when clicked.
    QPushButton* Button(const char* name, const char* caption, std::function<void()> onClick);
    // The label made for the control last added.
    QLabel* LastLabel() const { return FLastLabel; }
    // Any control on the next row, labelled when a caption is given.
    void Place(QWidget* control, const char* caption);

private:
    QWidget* FPage;
    QGridLayout* FGrid;
    int FRow = 0;
    QLabel* FLastLabel = nullptr;
};

// A decimal number typed by the user: none for partial or bad input ("",
// "-", "1e", "abc"), so a handler that runs on every keystroke never raises.
bool ParseDecimal(const QString& text, double& value);
// The label whose buddy is the control, among the form's children, or none.
QLabel* LabelFor(const QWidget* form, const QWidget* control);
// The same for a whole number.
bool ParseInteger(const QString& text, long long& value);

}  // namespace cb::charteditors
