#include "charteditors/series/SeriesEditorKit.h"

#include "charteditors/common/EditorButtons.h"

#include <QLocale>

#include <cmath>

namespace cb::charteditors {

TEditorGrid::TEditorGrid(QWidget* page) : FPage(page), FGrid(new QGridLayout(page)) {
    FGrid->setColumnStretch(2, 1);
}

void TEditorGrid::Place(QWidget* control, const char* caption) {
    FLastLabel = nullptr;
    if (caption && *caption) {
        FLastLabel = new QLabel(QString::fromUtf8(caption), FPage);
        FLastLabel->setBuddy(control);
        FGrid->addWidget(FLastLabel, FRow, 0);
        FGrid->addWidget(control, FRow, 1);
    } else {
        FGrid->addWidget(control, FRow, 0, 1, 2);
    }
    ++FRow;
}

QCheckBox* TEditorGrid::Check(const char* name, const char* caption) {
    auto* c = new QCheckBox(QString::fromUtf8(caption), FPage);
    c->setObjectName(name);
    Place(c, nullptr);
    return c;
}

QSpinBox* TEditorGrid::Spin(const char* name, const char* caption, int low, int high, int step) {
    auto* s = new QSpinBox(FPage);
    s->setObjectName(name);
    s->setRange(low, high);
    s->setSingleStep(step);
    s->setKeyboardTracking(true);
    Place(s, caption);
    return s;
}

QComboBox* TEditorGrid::Combo(const char* name, const char* caption, std::initializer_list<const char*> items) {
    auto* c = new QComboBox(FPage);
    c->setObjectName(name);
    for (const char* i : items) c->addItem(QString::fromUtf8(i));
    Place(c, caption);
    return c;
}

QLineEdit* TEditorGrid::Edit(const char* name, const char* caption) {
    auto* e = new QLineEdit(FPage);
    e->setObjectName(name);
    Place(e, caption);
    return e;
}

TColorButton* TEditorGrid::ColorButton(const char* name, const char* caption) {
    auto* b = new TColorButton(FPage);
    b->setObjectName(name);
    b->setText(QString::fromUtf8(caption));
    Place(b, nullptr);
    return b;
}

TButtonPen* TEditorGrid::PenButton(const char* name, const char* caption) {
    auto* b = new TButtonPen(FPage);
    b->setObjectName(name);
    b->setText(QString::fromUtf8(caption));
    Place(b, nullptr);
    return b;
}

QPushButton* TEditorGrid::Button(const char* name, const char* caption, std::function<void()> onClick) {
    auto* b = new QPushButton(QString::fromUtf8(caption), FPage);
    b->setObjectName(name);
    QObject::connect(b, &QPushButton::clicked, b, [onClick = std::move(onClick)] { onClick(); });
    Place(b, nullptr);
    return b;
}

QLabel* LabelFor(const QWidget* form, const QWidget* control) {
    for (QLabel* label : form->findChildren<QLabel*>())
        if (label->buddy() == control) return label;
    return nullptr;
}

bool ParseDecimal(const QString& text, double& value) {
    bool ok = false;
    const QString t = text.trimmed();
    double v = QLocale().toDouble(t, &ok);
    if (!ok) v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseInteger(const QString& text, long long& value) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok);
    if (!ok) return false;
    value = v;
    return true;
}

}  // namespace cb::charteditors
