#pragma once
// Rich-text cells: the subset of RTF the grid's rich editor writes (plain
// text, bold, italic, underline, colour, font and size, paragraphs, line
// breaks, tabs, "\'xx" and "\uN") read into a QTextDocument and written
// from one. Drawing, measuring and the rich editor share this reader.
//
// The reader takes untrusted text: groups nest at most MaxRichTextDepth
// deep (deeper ones are skipped), unknown control words and destinations
// ("\*", pictures, style sheets) are skipped, and it never throws.
#include "platform/gfx/GdiObjects.h"

#include <QFont>
#include <QRect>
#include <QSize>

#include <string>
#include <string_view>

class QColor;
class QPainter;
class QTextDocument;

namespace cb::grid {

inline constexpr int MaxRichTextDepth = 128;

// Whether a cell text is rich text (starts with "{\").
bool IsRichText(std::string_view text);
// Replaces the document's content with the rich text.
void ReadRichText(std::string_view rtf, QTextDocument& doc);
// The document as rich text (ASCII; other characters as "\uN?").
std::string WriteRichText(const QTextDocument& doc);
// The rich text's plain characters (paragraphs joined with "\n").
std::string RichTextToPlain(std::string_view rtf);

// The Qt font of a grid font (the default font of a rich text).
QFont RichTextFont(const cb::gfx::TFont& font);
// Draws rich text into r (clipped to it); recolor, when given, paints every
// character in that colour (a selected cell).
void DrawRichText(QPainter& painter, const QRect& r, std::string_view rtf, const QFont& font,
                  const QColor* recolor = nullptr);
// The size the rich text needs, laid out at width (-1: no wrapping).
QSize MeasureRichText(std::string_view rtf, const QFont& font, int width);

}  // namespace cb::grid
