#pragma once
// The header pictures of the panes: a small icon, the pane's name in bold
// and an underlined "Explained" that says a click opens the help topic.
#include "app/ui/widgets/ClickLabel.h"

#include <QPixmap>
#include <QString>

namespace cb::app {

enum class TSectionIcon {
    GridMenu,
    GridView,
    ChartView
};

// At least 156 by 20 pixels; wider when the words need it.
QPixmap SectionHeaderPicture(TSectionIcon icon, const QString& title);

// A header picture with a hand cursor whose click opens a help topic.
TClickLabel* MakeSectionHeader(QWidget* parent, TSectionIcon icon, const QString& title, const char* helpTopic);

}  // namespace cb::app
