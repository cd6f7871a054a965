#include "charteditors/dialog/PageKit.h"

#include "charteditors/common/EditorRegistry.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

namespace cb::charteditors {

QWidget* NewTab(QTabWidget* tabs, const char* caption) {
    auto* page = new QWidget(tabs);
    page->setObjectName(QString::fromUtf8(caption).remove('&'));
    tabs->addTab(page, QString::fromUtf8(caption));
    return page;
}

TEditorForm* EmbedEditorByName(const std::string& className, QWidget* container, const TEditedObject& object) {
    std::unique_ptr<TEditorForm> form = CreateEditorByName(className, container);
    if (!form) return nullptr;
    EmbedFormWithObject(form.get(), container, object);
    // The form fills the container (client alignment).
    if (!container->layout()) {
        auto* l = new QVBoxLayout(container);
        l->setContentsMargins(0, 0, 0, 0);
    }
    container->layout()->addWidget(form.get());
    return form.release();  // the container owns it from now on
}

void SetSpin(QSpinBox* box, int value) {
    QSignalBlocker quiet(box);
    box->setValue(value);
}

void SetCheck(QCheckBox* box, bool on) {
    QSignalBlocker quiet(box);
    box->setChecked(on);
}

void SetIndex(QComboBox* box, int index) {
    QSignalBlocker quiet(box);
    box->setCurrentIndex(index);
}

}  // namespace cb::charteditors
