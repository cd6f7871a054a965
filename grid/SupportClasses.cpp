#include "grid/SupportClasses.h"

#include "platform/gfx/Canvas.h"
#include "platform/rtl/Strings.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPolygon>
#include <QRegion>

namespace cb::grid {

void TIntList::Changed() {
    if (OnChange) OnChange(*this, CellCol, CellRow);
}

void TIntList::SetItem(int index, int value) {
    FItems.at(size_t(index)) = value;
    Changed();
}

void TIntList::AddValue(int value) {
    FItems.push_back(value);
    Changed();
}

void TIntList::DeleteValue(int index) {
    if (index < 0 || index >= Count()) throw EExtGridError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TIntList::InsertValue(int index, int value) {
    if (index < 0 || index > Count()) throw EExtGridError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, value);
}

int TIntList::IndexOf(int value) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i] == value) return int(i);
    return -1;
}

std::string TIntList::ToCommaText() const {
    std::string out;
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (i) out += ',';
        out += std::to_string(FItems[i]);
    }
    return out;
}

void TIntList::FromCommaText(const std::string& text) {
    FItems.clear();
    if (text.empty()) return;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        AddValue(cb::rtl::StrToInt(item));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

int TSortIndexList::FindColumn(int col) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (Column(FItems[i]) == col) return int(i);
    return -1;
}

void TFilePicture::SetFilename(const std::string& name) {
    FFilename = name;
    QImageReader reader(QString::fromStdString(name));
    QSize size = reader.size();
    if (!size.isValid()) {
        QImage img;
        if (!img.load(QString::fromStdString(name))) throw cb::rtl::EInOutError("Cannot read picture \"" + name + "\"");
        size = img.size();
    }
    FWidth = size.width();
    FHeight = size.height();
}

void TFilePicture::Assign(const TFilePicture& source) {
    FFilename = source.FFilename;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
}

void TFilePicture::DrawStretched(cb::gfx::TCanvas& canvas, const TRect& rect) const {
    if (FFilename.empty()) return;
    QImage img;
    if (!img.load(QString::fromStdString(FFilename))) return;
    canvas.DrawImage(rect, img, {0, 0, img.width(), img.height()});
}

std::vector<TPoint> TArrowWindow::ArrowPoints(int direction) {
    switch (direction) {
    case 0:
        return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case 1:
        return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case 2:
        return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    default:
        return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    }
}

namespace {
QPolygon ArrowPolygon(int dir) {
    QPolygon poly;
    for (const TPoint& p : TArrowWindow::ArrowPoints(dir)) poly << QPoint(p.X, p.Y);
    return poly;
}
}  // namespace

TArrowWindow::TArrowWindow(QWidget* owner, int direction)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint), FDir(direction) {
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    resize(11, 11);
    setMask(QRegion(ArrowPolygon(direction), Qt::WindingFill));
    hide();
}

void TArrowWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 255, 0));  // lime
}

TPopupButton::TPopupButton(QWidget* owner) : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setEnabled(false);
    hide();
}

void TPopupButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    cb::gfx::TCanvas canvas(&painter);
    TRect r{0, 0, width(), height()};
    canvas.Brush().SetColor(cb::gfx::clBtnFace);
    canvas.FillRect(r);
    if (!Flat) {
        canvas.Pen().SetColor(cb::gfx::clWhite);
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right - 1, r.Top);
        canvas.Pen().SetColor(cb::gfx::clGray);
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Bottom - 1);
    }
    canvas.SetBkMode(cb::gfx::TRANSPARENT);
    canvas.DrawText(Caption, r,
                    cb::gfx::DT_CENTER | cb::gfx::DT_VCENTER | cb::gfx::DT_SINGLELINE | cb::gfx::DT_END_ELLIPSIS);
}

}  // namespace cb::grid
