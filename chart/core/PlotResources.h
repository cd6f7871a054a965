#pragma once
// Pictures and cursors of the engine: the small gallery bitmaps named after
// series and tool classes, looked up through a list of resource modules,
// and the screen cursor table with the chart's hand cursor.
#include "chart/core/PlotTypes.h"
#include "platform/gfx/Bitmap.h"

#include <QCursor>

#include <functional>
#include <string>

namespace cb::chart {

// --- bitmap resources ---
// A module loads the bitmap named name (class names in capitals, such as
// TBARSERIES) into bitmap and answers True, or answers False when it has
// none. It may throw; the walk then goes on with the next module.
using TBitmapResourceModule = std::function<bool(const std::string& name, cb::gfx::TBitmap& bitmap)>;

// Appends a module to the walk; the engine's own pictures come first.
// Returns an id for UnregisterBitmapResourceModule.
int RegisterBitmapResourceModule(TBitmapResourceModule module);
void UnregisterBitmapResourceModule(int id);
// A module that reads "<folder>/<name>.bmp" (a Qt resource folder such as
// ":/pictures" or a folder on disk).
TBitmapResourceModule BitmapFolderModule(const std::string& folder);

// Walks the modules in order; in each, name and then alternateName are
// tried, and the first found is loaded. Nothing changes when none has
// either. True when a bitmap was loaded.
bool LoadBitmapResource(cb::gfx::TBitmap& bitmap, const std::string& name, const std::string& alternateName);
// The gallery picture of a series or tool class: its class name, else its
// parent class's name (either in any case).
bool LoadSeriesClassBitmap(const std::string& className, const std::string& parentClassName, cb::gfx::TBitmap& bitmap);

// Side of the engine's own gallery pictures, in pixels.
constexpr int GalleryBitmapSize = 16;

// --- cursors ---
// The toolkit's cursor numbers, and the chart's hand cursor.
enum : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
    crPlotHand = 2020
};
// The cursor of a number: the standard shapes, or an entry of the table
// (the default arrow for an unknown number). crPlotHand is in the table
// from the first call until RemoveScreenCursor takes it out.
QCursor ScreenCursor(int id);
void SetScreenCursor(int id, const QCursor& cursor);
void RemoveScreenCursor(int id);
bool HasScreenCursor(int id);
// Our own open-hand picture (32 x 32, hot spot on the index finger's tip).
QCursor MakePlotHandCursor();

}  // namespace cb::chart
