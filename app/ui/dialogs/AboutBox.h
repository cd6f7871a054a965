#pragma once
// The about box: a borderless picture with the version, a line pointing to
// the product web site and "Close". A click anywhere on it closes it.
#include "app/ui/widgets/ContentForm.h"

#include <string>

class QLabel;

namespace cb::grid {
class TMarkupLabel;
}

namespace cb::app {

// The version the about box shows.
inline constexpr const char* ProductVersion = "2.1";

class TfrmAbout : public TContentForm {
    Q_OBJECT
public:
    // webSite: the product web site from the settings; empty says it is not set.
    explicit TfrmAbout(const std::string& webSite, QWidget* owner = nullptr);

    static constexpr int ClientWidth = 441;
    static constexpr int ClientHeight = 250;

    QLabel* imgBackground;
    QLabel* lblVersion;
    cb::grid::TMarkupLabel* lblLinktoWebsite;
    QLabel* lblDescription;
    QLabel* lblClose;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* FOwner;
};

}  // namespace cb::app
