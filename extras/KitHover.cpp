#include "extras/KitHover.h"

#include <QToolTip>
#include <QWidget>

namespace cb::extras {

using namespace cb::gfx;

TColor ApplicationHintColor() {
    return FromQColor(QToolTip::palette().color(QPalette::ToolTipBase));
}

void TKitHintSwap::Enter(TColor hint) {
    if (!FSaved) FSaved = QToolTip::palette();
    QPalette p = *FSaved;
    p.setColor(QPalette::ToolTipBase, ToQColor(hint));
    QToolTip::setPalette(p);
}

void TKitHintSwap::Leave() {
    if (!FSaved) return;
    QToolTip::setPalette(*FSaved);
    FSaved.reset();
}

bool TKitParentColorWatch::Changed(const QWidget* control) {
    const QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent) return false;
    const TColor now = FromQColor(parent->palette().color(parent->backgroundRole()));
    const bool changed = FSeen && *FSeen != now;
    FSeen = now;
    return changed;
}

}  // namespace cb::extras
