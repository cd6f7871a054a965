#pragma once
// The tool bar's pictures, drawn by the program: one picture per button in
// three image lists (normal, disabled, hot).
#include <QPixmap>

#include <vector>

namespace cb::app {

enum TToolbarImage : int {
    tiOpenCube,
    tiExport,
    tiUndo,
    tiRedo,
    tiResetCube,
    tiChart,
    tiCopyCube,
    tiSettings,
    tiSendComment,
    tiWebsite,
    tiHelp,
    tiCount
};

enum class TToolbarLook {
    Normal,
    Disabled,
    Hot
};

// Pictures of size x size pixels, one per TToolbarImage, in that order.
std::vector<QPixmap> MakeToolbarImageList(TToolbarLook look, int size = 24);

}  // namespace cb::app
