#pragma once
// The settings dialog: start maximised, and the grid's colour theme with a
// preview of the current view (or of a small sample when no cube is open)
// drawn in the chosen theme. "Done" saves; anything else puts the theme
// that was current back.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace cb::grid {
class TExtStringGrid;
}

namespace cb::app {

class TDisplayManager;
struct TGridDisplayTheme;

class TfrmSettings : public TContentForm {
    Q_OBJECT
public:
    // The settings come from context.Config (required); the display manager
    // renders the preview when a cube is open (may be none).
    TfrmSettings(const TAppContext& context, TDisplayManager* displayManager, QWidget* owner = nullptr);

    static constexpr int ClientWidth = 455;
    static constexpr int ClientHeight = 317;

    // Set when the user chose another theme (read after OK).
    bool ThemeChanged() const { return FThemeChanged; }
    // The theme of the selected entry, or none.
    TGridDisplayTheme* SelectedTheme() const;

    void ApplyTheme(const TTheme* theme) override;

    QWidget* panClient;
    QTabWidget* pcSettings;
    QWidget* tsGeneral;
    QWidget* tsGridDisplay;
    QCheckBox* chkStartMaximized;
    QLabel* lblCurrentTheme;
    QComboBox* cboActiveTheme;
    QWidget* panGridDisplay;
    cb::grid::TExtStringGrid* gridCurrentTheme;
    QWidget* panBottom;
    QPushButton* btnDone;
    QPushButton* btnCancel;

    void btnDoneClick();
    void btnCancelClick();
    void cboActiveThemeChange();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadSettings();
    void RenderPreview();

    TAppContext FContext;
    TDisplayManager* FDisplayManager;
    QWidget* FOwner;
    TGridDisplayTheme* FOriginalTheme = nullptr;
    bool FThemeChanged = false;
    bool FLoading = false;
};

// Fills the grid with a small pivot table in the theme's colours and fonts
// (built-in defaults for none): what the preview shows without a cube.
void RenderThemeSample(cb::grid::TExtStringGrid& grid, const TGridDisplayTheme* theme);

}  // namespace cb::app
