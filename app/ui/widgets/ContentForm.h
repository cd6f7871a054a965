#pragma once
// Content forms: every window and pane of the application. A form made
// without a parent is a stand-alone (usually modal) window; one made with a
// parent widget becomes a child of it and, once docked, fills it.
//
// The creator frees the form. A docked form is also a Qt child of its
// parent, so a creator that may outlive the parent keeps it in a QPointer.
#include "app/core/theme/Color.h"
#include "app/core/theme/WindowTheme.h"

#include <QDialog>

#include <vector>

namespace cb::app {

// Form base with nothing of its own; a QDialog so that any form can also be
// shown modally with exec().
class TThemedForm : public QDialog {
    Q_OBJECT
public:
    explicit TThemedForm(QWidget* parent = nullptr);
};

// A dialog's window flags: a title and a close button. Window managers offer
// every button (maximise too) to a window that asks for none, so the close
// button is always asked for.
inline const Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

class TContentForm : public TThemedForm {
    Q_OBJECT
public:
    // With a parent the form turns into a child widget of it.
    explicit TContentForm(QWidget* parent = nullptr);

    // False keeps a wizard on its page; the base always allows leaving.
    virtual bool CanLeavePage();
    // Takes the theme when it is not already the current one (compared by
    // identity) and sets the form's colour to its BackgroundColor.
    // Overrides call the base first, then colour their own controls.
    virtual void ApplyTheme(const TTheme* theme);
    // With a parent: no border, at (0, 0), filling the parent's client area
    // through its layout, following its size. Then shown.
    virtual void ShowDocked();

    const TTheme* Theme() const { return FTheme; }
    // The form's own background colour.
    TColor Color() const;
    void SetColor(TColor color);

protected:
    // Escape does not close a content form by itself; forms with a cancel
    // button handle it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    const TTheme* FTheme = nullptr;
};

// An ordered list of forms it does not own.
class TContentFormList {
public:
    int Add(TContentForm* form);
    // The index must be in range (throws std::out_of_range otherwise).
    TContentForm* GetForm(int index) const;
    int GetCount() const { return static_cast<int>(FForms.size()); }

private:
    std::vector<TContentForm*> FForms;
};

}  // namespace cb::app
