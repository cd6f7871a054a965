#pragma once
// The Tools page of the chart editor: the chart's tools in a list, added
// from the tools gallery, deleted, reordered and switched on and off; the
// selected tool's own editor (found by its class name) beside the list.
// TPlotToolsGallery is the modal gallery of the registered tool types.
#include "charteditors/common/EditorForm.h"

#include <functional>

class QCheckBox;
class QListWidget;
class QPushButton;
class QTabBar;
class QToolButton;

namespace cb::chart {
class TCustomChart;
class TPlotCustomTool;
struct TToolClass;
}  // namespace cb::chart

namespace cb::charteditors {

class TPlotToolsGallery : public QDialog {
public:
    explicit TPlotToolsGallery(QWidget* owner = nullptr);
    // The class of the selected entry, or none.
    const cb::chart::TToolClass* SelectedClass() const;
    // Lists the registered classes that the selected tab keeps.
    void FillList();

    QTabBar* TabControl1;
    QListWidget* LBTool;
    QPushButton *BOk, *BCan;
};

class TFormPlotTools : public TEditorForm {
public:
    explicit TFormPlotTools(QWidget* owner = nullptr);
    ~TFormPlotTools() override;
    cb::chart::TCustomChart* Chart() const;
    cb::chart::TPlotCustomTool* SelectedTool() const;
    // The selected tool's editor, or none.
    TEditorForm* ToolEditor() const { return FEditor; }

    void FillList();
    // Lists the tools again when their number changed, then shows the
    // selected tool's editor.
    void RefreshList();
    void SelectTool(cb::chart::TPlotCustomTool* tool);
    void ListClick();
    // Adds a tool of the class to the chart; it becomes the selected tool.
    cb::chart::TPlotCustomTool* AddTool(const cb::chart::TToolClass& toolClass);
    void DeleteSelected();
    void MoveSelected(int by);

    // Answers the gallery (tests replace it): the chosen class, or none.
    std::function<const cb::chart::TToolClass*()> ChooseToolClass;
    std::function<void(cb::chart::TPlotCustomTool*)> OnToolAdded, OnToolDeleted;

    QListWidget* LBTools;
    QWidget* PanelToolEditor;
    QPushButton *BAdd, *BDelete;
    QCheckBox* CBActive;
    QToolButton *BMoveUp, *BMoveDown;

protected:
    void FormShow() override;

private:
    void UpdateMoveButtons();
    void FreeEditor();
    TEditorForm* FEditor = nullptr;
};

// The registered class name of a tool ("TCursorTool"), empty when its
// class is not registered.
std::string ToolClassName(const cb::chart::TPlotCustomTool& tool);
// The text the lists show for a tool: its description, else its class name.
std::string ToolDescription(const cb::chart::TPlotCustomTool& tool);

}  // namespace cb::charteditors
