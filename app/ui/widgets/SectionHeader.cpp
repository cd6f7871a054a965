#include "app/ui/widgets/SectionHeader.h"

#include "app/ui/widgets/HelpTopics.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace cb::app {

namespace {

constexpr int kMinWidth = 156;
constexpr int kHeight = 20;
constexpr int kTextLeft = 22;

void DrawIcon(QPainter& p, TSectionIcon icon) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x40, 0x40, 0x40));
    switch (icon) {
    case TSectionIcon::GridMenu:
        p.setBrush(QColor(0xF4, 0xC4, 0x30));
        p.drawRoundedRect(QRectF(1.5, 2.5, 15, 15), 2, 2);
        for (int y : {7, 10, 13}) p.drawLine(QPointF(4.5, y + 0.5), QPointF(13.5, y + 0.5));
        break;
    case TSectionIcon::GridView:
        p.setBrush(QColor(0xFF, 0xFF, 0xFF));
        p.drawRect(QRectF(1.5, 2.5, 15, 15));
        p.fillRect(QRectF(2, 3, 14.5, 4), QColor(0xC8, 0xD4, 0xE3));
        p.fillRect(QRectF(2, 3, 4.5, 14.5), QColor(0xC8, 0xD4, 0xE3));
        for (double x : {6.5, 11.5}) p.drawLine(QPointF(x, 2.5), QPointF(x, 17.5));
        for (double y : {7.5, 12.5}) p.drawLine(QPointF(1.5, y), QPointF(16.5, y));
        break;
    case TSectionIcon::ChartView:
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(1.5, 17.5), QPointF(16.5, 17.5));
        p.drawLine(QPointF(1.5, 2.5), QPointF(1.5, 17.5));
        p.setBrush(QColor(0x3A, 0x7B, 0xD5));
        p.drawRect(QRectF(3.5, 10.5, 3, 7));
        p.setBrush(QColor(0xE8, 0x8A, 0x2E));
        p.drawRect(QRectF(8.5, 5.5, 3, 12));
        p.setBrush(QColor(0x5C, 0xB8, 0x5C));
        p.drawRect(QRectF(13.5, 8.5, 3, 9));
        break;
    }
}

QFont HeaderFont(bool bold) {
    QFont f("Tahoma");
    f.setPixelSize(12);
    f.setBold(bold);
    f.setUnderline(!bold);
    return f;
}

}  // namespace

QPixmap SectionHeaderPicture(TSectionIcon icon, const QString& title) {
    const QString explained = QStringLiteral("Explained");
    const QFontMetrics titleMetrics(HeaderFont(true));
    const QFontMetrics linkMetrics(HeaderFont(false));
    const int titleWidth = titleMetrics.horizontalAdvance(title);
    const int gap = titleMetrics.horizontalAdvance(QLatin1Char(' '));
    const int linkLeft = kTextLeft + titleWidth + gap;
    const int width = std::max(kMinWidth, linkLeft + linkMetrics.horizontalAdvance(explained) + 2);
    QPixmap pm(width, kHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    DrawIcon(p, icon);
    p.setFont(HeaderFont(true));
    p.setPen(QColor(0x20, 0x20, 0x20));
    p.drawText(QRect(kTextLeft, 0, titleWidth + 1, kHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setFont(HeaderFont(false));
    p.setPen(QColor(0x00, 0x00, 0xC0));
    p.drawText(QRect(linkLeft, 0, width - linkLeft, kHeight), Qt::AlignLeft | Qt::AlignVCenter, explained);
    return pm;
}

TClickLabel* MakeSectionHeader(QWidget* parent, TSectionIcon icon, const QString& title, const char* helpTopic) {
    auto* header = new TClickLabel(parent);
    const QPixmap picture = SectionHeaderPicture(icon, title);
    header->setPixmap(picture);
    header->setFixedSize(picture.size());
    header->setCursor(Qt::PointingHandCursor);
    header->setToolTip(title + QStringLiteral(" Explained"));
    const std::string topic = helpTopic;
    header->OnClick = [topic] { ShowHelpTopic(topic); };
    return header;
}

}  // namespace cb::app
