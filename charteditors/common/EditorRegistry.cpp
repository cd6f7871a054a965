#include "charteditors/common/EditorRegistry.h"

#include "chart/core/PlotHelpers.h"
#include "chart/series/ChartSeries.h"
#include "charteditors/common/EditorForm.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace cb::charteditors {

namespace {

// In a function's static, so a registration from another file's static
// initialiser finds it built.
std::map<std::string, TEditorFactory>& Registry() {
    static std::map<std::string, TEditorFactory> registry;
    return registry;
}

}  // namespace

void RegisterEditorClass(const std::string& className, TEditorFactory factory) {
    if (className.empty() || !factory) return;
    Registry()[className] = std::move(factory);
}

void UnregisterEditorClass(const std::string& className) {
    Registry().erase(className);
}

TEditorFactory FindEditorClass(const std::string& className) {
    const auto it = Registry().find(className);
    return it == Registry().end() ? TEditorFactory() : it->second;
}

bool IsEditorClassRegistered(const std::string& className) {
    return Registry().count(className) != 0;
}

std::vector<std::string> RegisteredEditorClasses() {
    std::vector<std::string> names;
    for (const auto& [name, factory] : Registry()) names.push_back(name);
    return names;
}

TEditorFactory FindSeriesEditorClass(const cb::chart::TChartSeries& series) {
    return FindEditorClass(series.EditorClassName());
}

std::unique_ptr<TEditorForm> CreateEditorByName(const std::string& className, QWidget* owner) {
    const TEditorFactory factory = FindEditorClass(className);
    if (!factory) return nullptr;
    std::unique_ptr<TEditorForm> form = factory(owner);
    if (form) cb::chart::ApplyTranslationHook(form.get());
    return form;
}

void EmbedFormWithObject(TEditorForm* form, QWidget* container, const TEditedObject& object) {
    form->Edited().Set(object);
    EmbedForm(form, container);
}

void EmbedForm(QWidget* form, QWidget* container) {
    // A child without a frame, painted in its parent's colours.
    form->setParent(container, Qt::Widget);
    form->setAutoFillBackground(false);
    form->setPalette(container->palette());
    const bool wasHidden = container->isHidden();
    if (wasHidden) container->setVisible(true);
    const int top = std::min(4, std::abs(container->height() - form->height()) / 2);
    form->move(4, top);
    form->show();
    if (wasHidden) container->setVisible(false);
}

QWidget* EditorDialogOwner(QWidget* component) {
    return component ? component->window() : nullptr;
}

void PrepareEditorDialog(TEditorForm* form) {
    form->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    form->setModal(true);
    form->adjustSize();
    QRect area;
    if (QWidget* owner = form->parentWidget())
        area = owner->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isEmpty()) {
        QRect r = form->frameGeometry();
        r.moveCenter(area.center());
        form->move(r.topLeft());
    }
}

}  // namespace cb::charteditors
