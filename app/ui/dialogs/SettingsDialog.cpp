#include "app/ui/dialogs/SettingsDialog.h"

#include "app/core/base/AppInfo.h"
#include "app/core/settings/Config.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/theme/GridTheme.h"
#include "app/ui/dialogs/Features.h"
#include "app/ui/widgets/OwnerPlacement.h"
#include "app/ui/widgets/WidgetColor.h"
#include "grid/ExtStringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>

namespace cb::app {

namespace {

constexpr int kBottomHeight = 41;

void StyleCell(cb::grid::TExtStringGrid& grid, int col, int row, const std::string& text, TColor brush,
               const std::string& font, TColor fontColor, int size, bool bold,
               cb::grid::TAlignment alignment = cb::grid::taLeftJustify) {
    grid.SetCellText(col, row, text);
    cb::grid::TCellProperties* p = grid.EnsureCellProperties(col, row);
    if (!p) return;
    p->SetBrushColor(brush);
    p->SetFontName(font);
    p->FontColor = fontColor;
    p->FontSize = size;
    p->FontStyle = bold ? cb::gfx::TFontStyles(cb::gfx::fsBold) : 0u;
    p->Alignment = alignment;
}

}  // namespace

void RenderThemeSample(cb::grid::TExtStringGrid& grid, const TGridDisplayTheme* chosen) {
    static const TGridDisplayTheme defaults;
    const TGridDisplayTheme& t = chosen ? *chosen : defaults;
    grid.ClearAllCells();
    grid.SetColCount(5);
    grid.SetRowCount(5);
    auto dimension = [&](int col, int row, const std::string& text) {
        StyleCell(grid, col, row, text, t.DimensionColor, t.DimensionFontName, t.DimensionFontColor,
                  t.DimensionFontSize, t.DimensionFontBold);
    };
    auto member = [&](int col, int row, const std::string& text, int depth) {
        const TDepthStyle& d = t.ForDepth(depth);
        StyleCell(grid, col, row, text, d.Color, d.FontName, d.FontColor, d.FontSize, d.FontBold);
    };
    auto data = [&](int col, int row, const std::string& text) {
        StyleCell(grid, col, row, text, t.DataColor, t.DataFontName, t.DataFontColor, t.DataFontSize, t.DataFontBold,
                  cb::grid::taRightJustify);
    };
    dimension(0, 0, "Time");
    member(1, 0, "2024", 0);
    member(2, 0, "Q1", 1);
    member(3, 0, "Q2", 1);
    member(4, 0, "2025", 0);
    dimension(0, 1, "Customer");
    for (int c = 1; c < 5; ++c) dimension(c, 1, "Revenue");
    member(0, 2, "Europe", 0);
    member(0, 3, "France", 1);
    member(0, 4, "Paris", 2);
    const char* values[3][4] = {{"12,480.00", "5,920.00", "6,560.00", "13,905.50"},
                                {"4,310.25", "2,005.00", "2,305.25", "4,870.00"},
                                {"1,902.75", "880.50", "1,022.25", "2,118.00"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) data(c + 1, r + 2, values[r][c]);
    for (int c = 0; c < 5; ++c) grid.SetColWidths(c, c == 0 ? 90 : 78);
}

TfrmSettings::TfrmSettings(const TAppContext& context, TDisplayManager* displayManager, QWidget* owner)
    : TContentForm(nullptr), FContext(context), FDisplayManager(displayManager), FOwner(owner) {
    // Single border without border icons, on top of the program.
    setWindowFlags(kDialogFlags | Qt::WindowStaysOnTopHint);
    if (owner) setParent(owner, windowFlags());
    setFixedSize(ClientWidth, ClientHeight);

    panClient = new QWidget(this);
    panClient->setAutoFillBackground(true);
    panClient->setGeometry(0, 0, ClientWidth, ClientHeight - kBottomHeight);
    pcSettings = new QTabWidget(panClient);
    pcSettings->setGeometry(6, 6, ClientWidth - 12, ClientHeight - kBottomHeight - 6);

    tsGeneral = new QWidget;
    chkStartMaximized = new QCheckBox(QStringLiteral("Start Maximized "), tsGeneral);
    chkStartMaximized->setGeometry(16, 16, 200, 22);
    pcSettings->addTab(tsGeneral, QStringLiteral("General"));

    tsGridDisplay = new QWidget;
    lblCurrentTheme = new QLabel(QStringLiteral("Current Theme"), tsGridDisplay);
    lblCurrentTheme->setGeometry(10, 12, 90, 21);
    cboActiveTheme = new QComboBox(tsGridDisplay);
    cboActiveTheme->setGeometry(104, 10, 200, 24);
    panGridDisplay = new QWidget(tsGridDisplay);
    panGridDisplay->setGeometry(8, 42, ClientWidth - 30, ClientHeight - kBottomHeight - 86);
    auto* previewLayout = new QVBoxLayout(panGridDisplay);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    gridCurrentTheme = new cb::grid::TExtStringGrid(panGridDisplay);
    gridCurrentTheme->SetColCount(5);
    gridCurrentTheme->SetRowCount(5);
    gridCurrentTheme->SetFixedCols(0);
    gridCurrentTheme->SetFixedRows(0);
    gridCurrentTheme->SetDefaultRowHeight(21);
    gridCurrentTheme->SetGridLineColor(cb::gfx::clSilver);
    gridCurrentTheme->FixedFont().SetName("Tahoma");
    gridCurrentTheme->SetDefaultDrawing(false);
    // A preview of the colours: no selected cell drawn over them.
    gridCurrentTheme->SetShowSelection(false);
    previewLayout->addWidget(gridCurrentTheme);
    pcSettings->addTab(tsGridDisplay, QStringLiteral("Grid View"));

    panBottom = new QWidget(this);
    panBottom->setAutoFillBackground(true);
    panBottom->setGeometry(0, ClientHeight - kBottomHeight, ClientWidth, kBottomHeight);
    btnDone = new QPushButton(QStringLiteral("Done"), panBottom);
    btnDone->setGeometry(ClientWidth - 176, 8, 80, 25);
    btnDone->setDefault(true);
    btnDone->setAutoDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), panBottom);
    btnCancel->setGeometry(ClientWidth - 88, 8, 80, 25);
    btnCancel->setAutoDefault(false);

    connect(btnDone, &QPushButton::clicked, this, [this] { btnDoneClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    FLoading = true;
    setWindowTitle(QString::fromUtf8(ProductName) + QStringLiteral(" ") + QStringLiteral("Settings"));
    LoadSettings();
    pcSettings->setCurrentWidget(tsGeneral);
    FLoading = false;
    connect(cboActiveTheme, &QComboBox::currentIndexChanged, this, [this] { cboActiveThemeChange(); });
}

TGridDisplayTheme* TfrmSettings::SelectedTheme() const {
    const int index = cboActiveTheme->currentIndex();
    if (index < 0) return nullptr;
    return static_cast<TGridDisplayTheme*>(cboActiveTheme->itemData(index).value<void*>());
}

void TfrmSettings::LoadSettings() {
    TCubeBrowserConfig* config = FContext.Config;
    if (!config) return;
    chkStartMaximized->setChecked(config->StartMaxed);
    FOriginalTheme = config->GetCurrentTheme();
    TThemeList* themes = config->GetThemeList();
    int selected = -1;
    for (int i = 0; i < themes->GetCount(); ++i) {
        TGridDisplayTheme* theme = themes->GetTheme(i);
        cboActiveTheme->addItem(QString::fromStdString(theme->Name), QVariant::fromValue(static_cast<void*>(theme)));
        if (FOriginalTheme && theme->Name == FOriginalTheme->Name) selected = i;
    }
    cboActiveTheme->setCurrentIndex(selected);
    cboActiveThemeChange();
}

void TfrmSettings::cboActiveThemeChange() {
    TGridDisplayTheme* theme = SelectedTheme();
    if (theme && FContext.Config) {
        FContext.Config->SetCurrentTheme(theme);
        if (!FLoading) FThemeChanged = true;
    }
    RenderPreview();
}

void TfrmSettings::RenderPreview() {
    TGridDisplayTheme* theme = FContext.Config ? FContext.Config->GetCurrentTheme() : nullptr;
    if (FDisplayManager && FDisplayManager->IsCubeOpen()) {
        try {
            FDisplayManager->RenderToGrid(gridCurrentTheme);
            return;
        } catch (const std::exception& e) {
            FContext.WriteLog(std::string("Unable to preview the grid theme. With error: ") + e.what());
        }
    }
    RenderThemeSample(*gridCurrentTheme, theme);
}

void TfrmSettings::btnDoneClick() {
    TCubeBrowserConfig* config = FContext.Config;
    if (config) {
        config->StartMaxed = chkStartMaximized->isChecked();
        // No entry selected: the theme that was current stays.
        if (TGridDisplayTheme* theme = SelectedTheme()) config->SetCurrentTheme(theme);
        if (!config->SaveSettings())
            FContext.ShowError("The settings could not be saved; they apply until the program closes.");
    }
    done(QDialog::Accepted);
}

void TfrmSettings::btnCancelClick() {
    done(QDialog::Rejected);
}

void TfrmSettings::done(int result) {
    if (result != QDialog::Accepted) {
        if (FContext.Config) FContext.Config->SetCurrentTheme(FOriginalTheme);
        FThemeChanged = false;
        result = QDialog::Rejected;
    }
    TContentForm::done(result);
}

void TfrmSettings::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    SetWidgetColor(panBottom, QPalette::Window, theme->BackgroundColor);
    SetWidgetColor(panClient, QPalette::Window, theme->BackgroundColor);
    SetWidgetColor(chkStartMaximized, QPalette::Window, theme->BackgroundColor);
    SetWidgetColor(chkStartMaximized, QPalette::WindowText, theme->TextColor);
}

void TfrmSettings::showEvent(QShowEvent* event) {
    CenterOnOwner(this, FOwner);
    TContentForm::showEvent(event);
}

void TfrmSettings::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        btnCancel->click();
        return;
    }
    TContentForm::keyPressEvent(event);
}

bool ShowSettingsDialog(const TFeatureContext& context) {
    if (!context.App.Config) {
        context.App.ShowError("The settings are not available.");
        return false;
    }
    TfrmSettings settings(context.App, context.DisplayManager, context.Owner);
    settings.ApplyTheme(context.Theme);
    return settings.exec() == QDialog::Accepted && settings.ThemeChanged();
}

}  // namespace cb::app
