#pragma once
// The registry of editor classes by name, and the two ways an editor is
// shown: embedded in a host's page or panel, or as a modal sub-dialog.
//
// The chart engine names the editor of each of its objects by class name
// (EditorClassName()); a host looks the name up here, creates the form with
// itself as owner and embeds it with the object. A name that nobody
// registered finds nothing, and the host shows no editor. Editor classes are
// registered by RegisterStandardEditors() (charteditors/StandardEditors.cpp)
// at start-up; a second registration of a name replaces the first.
#include "charteditors/common/EditedObject.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace cb::chart {
class TChartSeries;
}

namespace cb::charteditors {

class TEditorForm;

// Creates the editor with the given owner (a widget, or none).
using TEditorFactory = std::function<std::unique_ptr<TEditorForm>(QWidget* owner)>;

void RegisterEditorClass(const std::string& className, TEditorFactory factory);
template <class T>
void RegisterEditorClass(const std::string& className) {
    RegisterEditorClass(className,
                        [](QWidget* owner) -> std::unique_ptr<TEditorForm> { return std::make_unique<T>(owner); });
}
// Removes a registration (tests).
void UnregisterEditorClass(const std::string& className);
// The factory of a name, or an empty one.
TEditorFactory FindEditorClass(const std::string& className);
bool IsEditorClassRegistered(const std::string& className);
std::vector<std::string> RegisteredEditorClasses();
// The editor of the series' class, or an empty factory.
TEditorFactory FindSeriesEditorClass(const cb::chart::TChartSeries& series);

// Creates the registered editor, translation hook applied; none when the
// name is empty or unknown.
std::unique_ptr<TEditorForm> CreateEditorByName(const std::string& className, QWidget* owner);

// Shows the (not yet shown) form as a borderless child of the container at
// left 4, top min(4, |container height - form height| / 2), with the object
// bound; the container's visibility is the same afterwards as before, so a
// form may be embedded into a page that is not the current one.
void EmbedFormWithObject(TEditorForm* form, QWidget* container, const TEditedObject& object);
// The same for a form that edits nothing (an options page).
void EmbedForm(QWidget* form, QWidget* container);

// The window a modal sub-dialog of this control is owned by and centred on:
// the control's window, or none.
QWidget* EditorDialogOwner(QWidget* component);
// Prepares a created dialog for modal use: dialog border, centred on its
// owner (or the screen), modal.
void PrepareEditorDialog(TEditorForm* form);
// Creates a modal sub-dialog of class T near the component: owned by the
// component's window, centred on it. The caller binds the object and shows
// it with exec(); OK is QDialog::Accepted.
template <class T>
std::unique_ptr<T> CreateEditorDialog(QWidget* component) {
    auto form = std::make_unique<T>(EditorDialogOwner(component));
    PrepareEditorDialog(form.get());
    return form;
}

}  // namespace cb::charteditors
