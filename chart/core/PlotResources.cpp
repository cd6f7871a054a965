#include "chart/core/PlotResources.h"

#include "platform/os/Files.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>
#include <vector>

namespace cb::chart {

namespace {

using cb::gfx::TCanvas;

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// --- the engine's own gallery pictures, drawn on request ---

constexpr TColor kAxis = 0x808080;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x008000;
constexpr TColor kBlue = 0xC00000;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kInk = 0x000000;

void PenBrush(TCanvas& c, TColor pen, TColor brush) {
    c.Pen().SetStyle(cb::gfx::psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetColor(pen);
    c.Brush().SetStyle(cb::gfx::bsSolid);
    c.Brush().SetColor(brush);
}

void Line(TCanvas& c, TColor color, std::initializer_list<TPoint> points) {
    c.Pen().SetStyle(cb::gfx::psSolid);
    c.Pen().SetColor(color);
    c.Polyline(std::span<const TPoint>(points.begin(), points.size()));
}

void Axes(TCanvas& c) {
    Line(c, kAxis, {{1, 1}, {1, 14}, {15, 14}});
}

void Bars(TCanvas& c, bool horizontal) {
    const int heights[3] = {6, 10, 4};
    const TColor colors[3] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        PenBrush(c, kInk, colors[i]);
        const int a = 3 + i * 4;
        if (horizontal)
            c.Rectangle(2, a, 3 + heights[i], a + 4);
        else
            c.Rectangle(a, 14 - heights[i], a + 4, 15);
    }
}

void Area(TCanvas& c, bool horizontal) {
    PenBrush(c, kInk, kGreen);
    const TPoint vertical[] = {{2, 13}, {2, 8}, {6, 4}, {10, 7}, {14, 3}, {14, 13}};
    const TPoint sideways[] = {{2, 2}, {7, 2}, {10, 6}, {6, 10}, {12, 14}, {2, 14}};
    c.Polygon(horizontal ? std::span<const TPoint>(sideways) : std::span<const TPoint>(vertical));
}

void Arrow(TCanvas& c, TColor color, TPoint from, TPoint to) {
    Line(c, color, {from, to});
    PenBrush(c, color, color);
    const int dx = to.X > from.X ? -3 : (to.X < from.X ? 3 : 0);
    const int dy = to.Y > from.Y ? -3 : (to.Y < from.Y ? 3 : 0);
    const TPoint head[] = {to,
                           {to.X + dx + (dy != 0 ? -2 : 0), to.Y + dy + (dx != 0 ? -2 : 0)},
                           {to.X + dx + (dy != 0 ? 2 : 0), to.Y + dy + (dx != 0 ? 2 : 0)}};
    c.Polygon(head);
}

void Legend(TCanvas& c) {
    PenBrush(c, kInk, 0xFFFFFF);
    c.Rectangle(3, 2, 14, 14);
    const TColor colors[3] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        PenBrush(c, colors[i], colors[i]);
        c.Rectangle(5, 4 + i * 3, 7, 6 + i * 3);
        Line(c, kAxis, {{8, 5 + i * 3}, {13, 5 + i * 3}});
    }
}

using Painter = void (*)(TCanvas&);

const std::map<std::string, Painter>& Pictures() {
    static const std::map<std::string, Painter> pictures = {
        {"TLINESERIES",
         [](TCanvas& c) {
             Axes(c);
             Line(c, kRed, {{2, 12}, {6, 6}, {10, 9}, {14, 3}});
         }},
        {"THORIZLINESERIES",
         [](TCanvas& c) {
             Axes(c);
             Line(c, kRed, {{3, 2}, {9, 6}, {5, 9}, {12, 13}});
         }},
        {"TFASTLINESERIES",
         [](TCanvas& c) {
             Axes(c);
             Line(c, kBlue, {{2, 10}, {4, 7}, {6, 11}, {8, 5}, {10, 8}, {12, 3}, {14, 6}});
         }},
        {"TPOINTSERIES",
         [](TCanvas& c) {
             Axes(c);
             const TPoint pts[] = {{4, 10}, {7, 5}, {10, 8}, {13, 3}};
             for (const TPoint& p : pts) {
                 PenBrush(c, kInk, kYellow);
                 c.Rectangle(p.X - 1, p.Y - 1, p.X + 2, p.Y + 2);
             }
         }},
        {"TAREASERIES",
         [](TCanvas& c) {
             Axes(c);
             Area(c, false);
         }},
        {"THORIZAREASERIES",
         [](TCanvas& c) {
             Axes(c);
             Area(c, true);
         }},
        {"TBARSERIES",
         [](TCanvas& c) {
             Axes(c);
             Bars(c, false);
         }},
        {"THORIZBARSERIES",
         [](TCanvas& c) {
             Axes(c);
             Bars(c, true);
         }},
        {"TPIESERIES",
         [](TCanvas& c) {
             PenBrush(c, kInk, kRed);
             c.Pie(1, 1, 15, 15, 15, 8, 8, 1);
             PenBrush(c, kInk, kGreen);
             c.Pie(1, 1, 15, 15, 8, 1, 2, 12);
             PenBrush(c, kInk, kBlue);
             c.Pie(1, 1, 15, 15, 2, 12, 15, 8);
         }},
        {"TCHARTSHAPE",
         [](TCanvas& c) {
             PenBrush(c, kInk, kYellow);
             c.Ellipse(1, 3, 11, 13);
             PenBrush(c, kInk, kBlue);
             c.Rectangle(7, 1, 15, 9);
         }},
        {"TGANTTSERIES",
         [](TCanvas& c) {
             Axes(c);
             const int spans[3][2] = {{2, 8}, {6, 12}, {10, 15}};
             const TColor colors[3] = {kRed, kGreen, kBlue};
             for (int i = 0; i < 3; ++i) {
                 PenBrush(c, kInk, colors[i]);
                 c.Rectangle(spans[i][0], 2 + i * 4, spans[i][1], 5 + i * 4);
             }
         }},
        {"TBUBBLESERIES",
         [](TCanvas& c) {
             Axes(c);
             PenBrush(c, kInk, kRed);
             c.Ellipse(3, 7, 10, 14);
             PenBrush(c, kInk, kGreen);
             c.Ellipse(9, 2, 15, 8);
             PenBrush(c, kInk, kBlue);
             c.Ellipse(10, 10, 14, 14);
         }},
        {"TARROWSERIES",
         [](TCanvas& c) {
             Axes(c);
             Arrow(c, kRed, {3, 12}, {13, 12});
             Arrow(c, kBlue, {5, 10}, {5, 2});
         }},
        {"TPYRAMIDSERIES",
         [](TCanvas& c) {
             PenBrush(c, kInk, kRed);
             const TPoint top[] = {{8, 1}, {11, 6}, {5, 6}};
             c.Polygon(top);
             PenBrush(c, kInk, kGreen);
             const TPoint mid[] = {{5, 6}, {11, 6}, {13, 10}, {3, 10}};
             c.Polygon(mid);
             PenBrush(c, kInk, kBlue);
             const TPoint low[] = {{3, 10}, {13, 10}, {15, 14}, {1, 14}};
             c.Polygon(low);
         }},
        {"TCURSORTOOL",
         [](TCanvas& c) {
             Line(c, kRed, {{8, 1}, {8, 15}});
             Line(c, kRed, {{1, 8}, {15, 8}});
         }},
        {"TDRAGMARKSTOOL",
         [](TCanvas& c) {
             PenBrush(c, kInk, kYellow);
             c.Rectangle(1, 1, 10, 7);
             Arrow(c, kInk, {6, 8}, {13, 14});
         }},
        {"TAXISARROWTOOL",
         [](TCanvas& c) {
             Axes(c);
             Arrow(c, kBlue, {1, 10}, {1, 2});
             Arrow(c, kBlue, {6, 14}, {14, 14});
         }},
        {"TDRAWLINETOOL",
         [](TCanvas& c) {
             Line(c, kBlue, {{3, 13}, {13, 3}});
             PenBrush(c, kInk, 0xFFFFFF);
             c.Rectangle(1, 11, 5, 15);
             c.Rectangle(11, 1, 15, 5);
         }},
        {"TNEARESTTOOL",
         [](TCanvas& c) {
             Axes(c);
             Line(c, kRed, {{2, 12}, {7, 6}, {14, 9}});
             c.Pen().SetColor(kBlue);
             c.Brush().SetStyle(cb::gfx::bsClear);
             c.Ellipse(4, 3, 11, 10);
         }},
        {"TCOLORBANDTOOL",
         [](TCanvas& c) {
             Axes(c);
             PenBrush(c, kYellow, kYellow);
             c.Rectangle(6, 1, 11, 14);
         }},
        {"TCOLORLINETOOL",
         [](TCanvas& c) {
             Axes(c);
             Line(c, kRed, {{8, 1}, {8, 14}});
             Line(c, kRed, {{9, 1}, {9, 14}});
         }},
        {"TROTATETOOL",
         [](TCanvas& c) {
             c.Pen().SetColor(kBlue);
             c.Brush().SetStyle(cb::gfx::bsClear);
             c.Arc(2, 2, 14, 14, 14, 8, 8, 14);
             Arrow(c, kBlue, {8, 14}, {5, 14});
         }},
        {"TCHARTIMAGETOOL",
         [](TCanvas& c) {
             PenBrush(c, kInk, 0xF0CAA6);
             c.Rectangle(1, 2, 15, 14);
             PenBrush(c, kGreen, kGreen);
             const TPoint hill[] = {{2, 12}, {7, 6}, {10, 9}, {14, 5}, {14, 12}};
             c.Polygon(hill);
         }},
        {"TMARKSTIPTOOL",
         [](TCanvas& c) {
             PenBrush(c, kInk, 0xE1FFFF);
             c.Rectangle(1, 1, 15, 9);
             const TPoint tail[] = {{4, 8}, {8, 8}, {4, 13}};
             c.Polygon(tail);
         }},
        {"TANNOTATIONTOOL",
         [](TCanvas& c) {
             PenBrush(c, kInk, 0xFFFFFF);
             c.Rectangle(1, 2, 15, 14);
             for (int y = 5; y <= 11; y += 3) Line(c, kAxis, {{3, y}, {13, y}});
         }},
        {"TSERIESANIMATIONTOOL",
         [](TCanvas& c) {
             Axes(c);
             Bars(c, false);
             Arrow(c, kInk, {14, 9}, {14, 2});
         }},
        {"TGRIDBANDTOOL",
         [](TCanvas& c) {
             Axes(c);
             PenBrush(c, 0xE0E0E0, 0xE0E0E0);
             c.Rectangle(2, 2, 15, 5);
             c.Rectangle(2, 8, 15, 11);
         }},
        {"TAXISSCROLLTOOL",
         [](TCanvas& c) {
             Axes(c);
             Arrow(c, kBlue, {8, 8}, {14, 8});
             Arrow(c, kBlue, {8, 8}, {3, 8});
         }},
        {"TRECTANGLETOOL",
         [](TCanvas& c) {
             PenBrush(c, kBlue, 0xF0CAA6);
             c.Rectangle(2, 3, 14, 13);
         }},
        {"TCLIPSERIESTOOL",
         [](TCanvas& c) {
             c.Pen().SetStyle(cb::gfx::psDot);
             c.Pen().SetColor(kAxis);
             c.Brush().SetStyle(cb::gfx::bsClear);
             c.Rectangle(3, 3, 13, 13);
             Line(c, kRed, {{4, 11}, {8, 6}, {12, 8}});
         }},
        {"TEXTRALEGENDTOOL", Legend},
    };
    return pictures;
}

bool OwnPictures(const std::string& name, cb::gfx::TBitmap& bitmap) {
    const auto& pictures = Pictures();
    const auto it = pictures.find(Upper(name));
    if (it == pictures.end()) return false;
    cb::gfx::TBitmap picture(GalleryBitmapSize, GalleryBitmapSize, cb::gfx::pf24bit);
    it->second(picture.Canvas());
    picture.Canvas().ReleasePainter();
    bitmap.Assign(picture);
    bitmap.SetTransparentColor(clWhite);
    bitmap.SetTransparent(true);
    return true;
}

struct Module {
    int Id;
    TBitmapResourceModule Load;
};

std::vector<Module>& Modules() {
    static std::vector<Module> modules = {{0, OwnPictures}};
    return modules;
}

int gNextModuleId = 1;

bool TryModule(const Module& m, const std::string& name, cb::gfx::TBitmap& bitmap) {
    if (name.empty() || !m.Load) return false;
    return m.Load(name, bitmap);
}

// --- cursors ---

std::map<int, QCursor>& CursorTable() {
    static std::map<int, QCursor> table = [] {
        std::map<int, QCursor> t;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) t[crPlotHand] = MakePlotHandCursor();
        return t;
    }();
    return table;
}

}  // namespace

int RegisterBitmapResourceModule(TBitmapResourceModule module) {
    const int id = gNextModuleId++;
    Modules().push_back({id, std::move(module)});
    return id;
}

void UnregisterBitmapResourceModule(int id) {
    auto& modules = Modules();
    modules.erase(std::remove_if(modules.begin(), modules.end(), [id](const Module& m) { return m.Id == id; }),
                  modules.end());
}

TBitmapResourceModule BitmapFolderModule(const std::string& folder) {
    return [folder](const std::string& name, cb::gfx::TBitmap& bitmap) {
        const std::string path = folder + "/" + name + ".bmp";
        if (!cb::os::FileExists(path)) return false;
        cb::gfx::TBitmap loaded;
        loaded.LoadFromFile(path);
        bitmap.Assign(loaded);
        return true;
    };
}

bool LoadBitmapResource(cb::gfx::TBitmap& bitmap, const std::string& name, const std::string& alternateName) {
    // A module may unregister others while loading: walk a copy.
    const std::vector<Module> modules = Modules();
    for (const Module& m : modules) {
        try {
            if (TryModule(m, name, bitmap) || TryModule(m, alternateName, bitmap)) return true;
        } catch (...) {
            // A module that fails to load leaves the walk to the next one.
        }
    }
    return false;
}

bool LoadSeriesClassBitmap(const std::string& className, const std::string& parentClassName, cb::gfx::TBitmap& bitmap) {
    return LoadBitmapResource(bitmap, Upper(className), Upper(parentClassName));
}

QCursor MakePlotHandCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPainterPath hand;
        // Palm, four fingers and the thumb of an open hand.
        hand.addRoundedRect(QRectF(8, 13, 14, 14), 4, 4);
        hand.addRoundedRect(QRectF(8, 6, 3, 12), 1.5, 1.5);
        hand.addRoundedRect(QRectF(11, 3, 3, 14), 1.5, 1.5);
        hand.addRoundedRect(QRectF(14, 4, 3, 13), 1.5, 1.5);
        hand.addRoundedRect(QRectF(17, 7, 3, 11), 1.5, 1.5);
        hand.addRoundedRect(QRectF(19, 15, 7, 3), 1.5, 1.5);
        hand.setFillRule(Qt::WindingFill);
        const QPainterPath outline = hand.simplified();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPath(outline);
    }
    return QCursor(pixmap, 12, 3);
}

QCursor ScreenCursor(int id) {
    switch (id) {
    case crDefault:
    case crArrow:
        return QCursor(Qt::ArrowCursor);
    case crNone:
        return QCursor(Qt::BlankCursor);
    case crCross:
        return QCursor(Qt::CrossCursor);
    case crIBeam:
        return QCursor(Qt::IBeamCursor);
    case crSizeNESW:
        return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS:
        return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE:
        return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE:
        return QCursor(Qt::SizeHorCursor);
    case crUpArrow:
        return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait:
        return QCursor(Qt::WaitCursor);
    case crDrag:
    case crMultiDrag:
        return QCursor(Qt::DragCopyCursor);
    case crNoDrop:
    case crNo:
        return QCursor(Qt::ForbiddenCursor);
    case crHSplit:
        return QCursor(Qt::SplitHCursor);
    case crVSplit:
        return QCursor(Qt::SplitVCursor);
    case crAppStart:
        return QCursor(Qt::BusyCursor);
    case crHelp:
        return QCursor(Qt::WhatsThisCursor);
    case crHandPoint:
        return QCursor(Qt::PointingHandCursor);
    case crSizeAll:
        return QCursor(Qt::SizeAllCursor);
    default:
        break;
    }
    const auto& table = CursorTable();
    const auto it = table.find(id);
    return it != table.end() ? it->second : QCursor(Qt::ArrowCursor);
}

void SetScreenCursor(int id, const QCursor& cursor) {
    CursorTable()[id] = cursor;
}

void RemoveScreenCursor(int id) {
    CursorTable().erase(id);
}

bool HasScreenCursor(int id) {
    return CursorTable().count(id) != 0;
}

}  // namespace cb::chart
