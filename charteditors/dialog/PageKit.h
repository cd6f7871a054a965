#pragma once
// Small pieces the chart editor pages share: tabs with a grid of labelled
// controls, handlers that stay quiet while a page loads, and embedding an
// editor that another folder registers by name.
#include "charteditors/common/EditorForm.h"
#include "charteditors/series/SeriesEditorKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

#include <string>

namespace cb::charteditors {

// A new tab of the page control, named after its caption ("&" left out).
QWidget* NewTab(QTabWidget* tabs, const char* caption);

// The editor registered under the name, embedded into the container with the
// object; none (the container stays empty) while nobody registered it.
TEditorForm* EmbedEditorByName(const std::string& className, QWidget* container, const TEditedObject& object);

// Handlers that write only outside the page's filling state.
template <class F>
void OnSpin(QSpinBox* box, TEditorForm* page, F write) {
    QObject::connect(box, &QSpinBox::valueChanged, page, [page, write](int v) {
        if (!page->Filling()) write(v);
    });
}
template <class F>
void OnCheck(QCheckBox* box, TEditorForm* page, F write) {
    QObject::connect(box, &QCheckBox::toggled, page, [page, write](bool on) {
        if (!page->Filling()) write(on);
    });
}
template <class F>
void OnIndex(QComboBox* box, TEditorForm* page, F write) {
    QObject::connect(box, &QComboBox::currentIndexChanged, page, [page, write](int i) {
        if (!page->Filling() && i >= 0) write(i);
    });
}

// Sets a spin box without running its handler.
void SetSpin(QSpinBox* box, int value);
void SetCheck(QCheckBox* box, bool on);
void SetIndex(QComboBox* box, int index);

}  // namespace cb::charteditors
