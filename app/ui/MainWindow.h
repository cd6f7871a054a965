#pragma once
// The application's main window. For now it carries the start-up steps
// that drive the loading screen, the window theme and the close that saves
// the settings; menus, actions and panes are added to it later.
#include "app/core/AppContext.h"
#include "app/core/WindowTheme.h"

#include <QMainWindow>

namespace cb::app {

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // The context's settings are read at start and saved on close; its user
    // interface takes the window theme.
    explicit TfrmMain(TAppContext context = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The window theme, kept for the whole run and handed to every form.
    const TTheme* Theme() const { return &FTheme; }
    virtual void ApplyTheme(const TTheme* theme);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Saves what must outlive the run: the settings (and, later, the open
    // cube's connection and the saved connections with them).
    virtual void SaveOnClose();

private:
    void Create();

    TAppContext FContext;
    TTheme FTheme;
    bool FSaved = false;
};

// The main window while the program runs, none before and after.
extern TfrmMain* frmMain;

}  // namespace cb::app
