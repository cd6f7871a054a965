#include "app/ui/widgets/ContentForm.h"

#include <QKeyEvent>
#include <QLayout>
#include <QVBoxLayout>

#include <stdexcept>

namespace cb::app {

TThemedForm::TThemedForm(QWidget* parent) : QDialog(nullptr) {
    if (parent) setParent(parent, Qt::Widget);
}

TContentForm::TContentForm(QWidget* parent) : TThemedForm(parent) {
    setAutoFillBackground(true);
}

bool TContentForm::CanLeavePage() {
    return true;
}

void TContentForm::ApplyTheme(const TTheme* theme) {
    if (theme == FTheme) return;
    FTheme = theme;
    if (theme) SetColor(theme->BackgroundColor);
}

void TContentForm::ShowDocked() {
    QWidget* parent = parentWidget();
    if (parent && !isWindow()) {
        QLayout* layout = parent->layout();
        if (!layout) {
            layout = new QVBoxLayout(parent);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
        }
        if (layout->indexOf(this) < 0) layout->addWidget(this);
        setGeometry(parent->contentsRect());
    }
    show();
}

TColor TContentForm::Color() const {
    return gfx::FromQColor(palette().color(QPalette::Window));
}

void TContentForm::SetColor(TColor color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, gfx::ToQColor(color));
    setPalette(p);
}

void TContentForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

int TContentFormList::Add(TContentForm* form) {
    FForms.push_back(form);
    return GetCount() - 1;
}

TContentForm* TContentFormList::GetForm(int index) const {
    return FForms.at(static_cast<std::size_t>(index));
}

}  // namespace cb::app
