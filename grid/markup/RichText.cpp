// A small RTF reader and writer. The reader walks the text once: groups
// push and pop the character format, control words change it, text goes
// into the current paragraph. Font and colour tables are read into lists
// that "\fN" and "\cfN" index; every other destination is skipped whole.
#include "grid/markup/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace cb::grid {

namespace {

// Windows-1252 for 0x80..0x9F; the rest of the upper half is Latin-1.
char16_t FromCp1252(unsigned char c) {
    static const char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                      0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    if (c >= 0x80 && c < 0xA0) return high[c - 0x80];
    return c;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

enum class TDest { Text, FontTable, ColorTable, Skip };

struct TGroupState {
    TDest Dest = TDest::Text;
    bool Bold = false, Italic = false, Underline = false;
    int Font = -1;
    int Color = 0;
    int HalfPoints = 0;
    int SkipAfterUnicode = 1;
};

class TReader {
public:
    TReader(std::string_view rtf, QTextDocument& doc) : FIn(rtf), FDoc(doc), FCursor(&doc) {}

    void Run() {
        FDoc.clear();
        FCursor = QTextCursor(&FDoc);
        std::vector<TGroupState> stack;
        TGroupState state;
        int skipped = 0;  // groups deeper than the limit
        size_t i = 0;
        int pendingSkip = 0;
        while (i < FIn.size()) {
            const char c = FIn[i];
            if (c == '{') {
                ++i;
                if (int(stack.size()) >= MaxRichTextDepth) {
                    ++skipped;
                    continue;
                }
                stack.push_back(state);
                if (i + 1 < FIn.size() && FIn[i] == '\\' && FIn[i + 1] == '*') state.Dest = TDest::Skip;
                continue;
            }
            if (c == '}') {
                ++i;
                if (skipped > 0) {
                    --skipped;
                    continue;
                }
                if (state.Dest == TDest::FontTable) EndFontEntry();
                if (stack.empty()) break;  // the document's group ends
                state = stack.back();
                stack.pop_back();
                continue;
            }
            if (skipped > 0) {
                ++i;
                continue;
            }
            if (c == '\\') {
                ++i;
                if (i >= FIn.size()) break;
                const char n = FIn[i];
                if (n == '\'') {
                    const int hi = i + 1 < FIn.size() ? HexDigit(FIn[i + 1]) : -1;
                    const int lo = i + 2 < FIn.size() ? HexDigit(FIn[i + 2]) : -1;
                    i += 3;
                    if (hi < 0 || lo < 0) continue;
                    if (pendingSkip > 0) {
                        --pendingSkip;
                        continue;
                    }
                    Text(state, QChar(FromCp1252((unsigned char)(hi * 16 + lo))));
                    continue;
                }
                if (!std::isalpha((unsigned char)n)) {
                    ++i;
                    if (pendingSkip > 0) {
                        --pendingSkip;
                        continue;
                    }
                    if (n == '\\' || n == '{' || n == '}') Text(state, QChar(n));
                    else if (n == '~') Text(state, QChar(0xA0));
                    else if (n == '_') Text(state, QChar(0x2011));
                    else if (n == '\n' || n == '\r') Paragraph(state);
                    continue;
                }
                // A control word with an optional signed number and one
                // delimiting space.
                size_t start = i;
                while (i < FIn.size() && std::isalpha((unsigned char)FIn[i])) ++i;
                const std::string word(FIn.substr(start, std::min<size_t>(i - start, 32)));
                bool hasNumber = false;
                long number = 0;
                if (i < FIn.size() && (FIn[i] == '-' || std::isdigit((unsigned char)FIn[i]))) {
                    size_t numStart = i;
                    if (FIn[i] == '-') ++i;
                    while (i < FIn.size() && std::isdigit((unsigned char)FIn[i])) ++i;
                    const std::string digits(FIn.substr(numStart, std::min<size_t>(i - numStart, 10)));
                    number = std::strtol(digits.c_str(), nullptr, 10);
                    hasNumber = true;
                }
                if (i < FIn.size() && FIn[i] == ' ') ++i;
                Word(state, word, hasNumber, int(number), pendingSkip);
                continue;
            }
            ++i;
            if (c == '\r' || c == '\n') continue;
            if (pendingSkip > 0) {
                --pendingSkip;
                continue;
            }
            Text(state, QChar(char16_t((unsigned char)c < 0x80 ? char16_t(c) : FromCp1252((unsigned char)c))));
        }
        Flush(state);
    }

private:
    void Word(TGroupState& s, const std::string& w, bool hasNumber, int n, int& pendingSkip) {
        const bool on = !hasNumber || n != 0;
        if (w == "fonttbl") {
            s.Dest = TDest::FontTable;
        } else if (w == "colortbl") {
            s.Dest = TDest::ColorTable;
            FColors.clear();
            FColorOpen = false;
        } else if (w == "stylesheet" || w == "info" || w == "pict" || w == "header" || w == "footer" ||
                   w == "generator" || w == "listtable" || w == "listoverridetable" || w == "object") {
            s.Dest = TDest::Skip;
        } else if (s.Dest == TDest::ColorTable) {
            FColorOpen = true;
            if (w == "red") FColor.setRed(std::clamp(n, 0, 255));
            if (w == "green") FColor.setGreen(std::clamp(n, 0, 255));
            if (w == "blue") FColor.setBlue(std::clamp(n, 0, 255));
        } else if (s.Dest == TDest::FontTable) {
            if (w == "f" && hasNumber) {
                EndFontEntry();
                FFontEntry = n;
            }
        } else if (s.Dest == TDest::Skip) {
        } else if (w == "b") {
            Switch(s, [&] { s.Bold = on; });
        } else if (w == "i") {
            Switch(s, [&] { s.Italic = on; });
        } else if (w == "ul") {
            Switch(s, [&] { s.Underline = on; });
        } else if (w == "ulnone") {
            Switch(s, [&] { s.Underline = false; });
        } else if (w == "cf") {
            Switch(s, [&] { s.Color = n; });
        } else if (w == "f") {
            Switch(s, [&] { s.Font = n; });
        } else if (w == "fs") {
            Switch(s, [&] { s.HalfPoints = std::clamp(n, 0, 3276); });
        } else if (w == "plain") {
            Switch(s, [&] {
                s.Bold = s.Italic = s.Underline = false;
                s.Color = 0;
                s.HalfPoints = 0;
                s.Font = -1;
            });
        } else if (w == "par") {
            Paragraph(s);
        } else if (w == "line") {
            Text(s, QChar(0x2028));
        } else if (w == "tab") {
            Text(s, QChar('\t'));
        } else if (w == "uc") {
            s.SkipAfterUnicode = std::clamp(n, 0, 8);
        } else if (w == "u" && hasNumber) {
            const int code = n < 0 ? n + 65536 : n;
            Text(s, QChar(char16_t(code & 0xFFFF)));
            pendingSkip = s.SkipAfterUnicode;
        }
        (void)pendingSkip;
    }

    template <class F>
    void Switch(TGroupState& s, F change) {
        // A change of format ends the run of text before it.
        (void)s;
        change();
    }

    void EndFontEntry() {
        if (FFontEntry < 0) return;
        QString name = FFontName.trimmed();
        if (name.endsWith(QChar(';'))) name.chop(1);
        if (int(FFonts.size()) <= FFontEntry && FFontEntry < 4096) FFonts.resize(size_t(FFontEntry) + 1);
        if (FFontEntry < int(FFonts.size())) FFonts[size_t(FFontEntry)] = name.trimmed();
        FFontEntry = -1;
        FFontName.clear();
    }

    QTextCharFormat Format(const TGroupState& s) const {
        QTextCharFormat f;
        f.setFontWeight(s.Bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.Italic);
        f.setFontUnderline(s.Underline);
        if (s.Color > 0 && s.Color < int(FColors.size())) f.setForeground(FColors[size_t(s.Color)]);
        if (s.Font >= 0 && s.Font < int(FFonts.size()) && !FFonts[size_t(s.Font)].isEmpty())
            f.setFontFamilies({FFonts[size_t(s.Font)]});
        if (s.HalfPoints > 0) f.setFontPointSize(s.HalfPoints / 2.0);
        return f;
    }

    void Text(TGroupState& s, QChar ch) {
        if (s.Dest == TDest::FontTable) {
            FFontName += ch;
            if (ch == QChar(';')) EndFontEntry();
            return;
        }
        if (s.Dest == TDest::ColorTable) {
            if (ch == QChar(';')) {
                FColors.push_back(FColorOpen ? FColor : QColor());
                FColor = QColor(0, 0, 0);
                FColorOpen = false;
            }
            return;
        }
        if (s.Dest != TDest::Text) return;
        const QTextCharFormat f = Format(s);
        if (!FRunText.isEmpty() && f != FRunFormat) Flush(s);
        FRunFormat = f;
        FRunText += ch;
    }

    void Flush(const TGroupState&) {
        if (FRunText.isEmpty()) return;
        FCursor.insertText(FRunText, FRunFormat);
        FRunText.clear();
    }

    void Paragraph(TGroupState& s) {
        if (s.Dest != TDest::Text) return;
        Flush(s);
        FCursor.insertBlock();
    }

    std::string_view FIn;
    QTextDocument& FDoc;
    QTextCursor FCursor;
    std::vector<QString> FFonts;
    std::vector<QColor> FColors;
    QColor FColor{0, 0, 0};
    bool FColorOpen = false;
    int FFontEntry = -1;
    QString FFontName;
    QString FRunText;
    QTextCharFormat FRunFormat;
};

void AppendEscaped(std::string& out, const QString& text) {
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == 0x2028) {
            out += "\\line ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u >= 0x80) {
            out += "\\u" + std::to_string(int(int16_t(u))) + "?";
        }
    }
}

}  // namespace

bool IsRichText(std::string_view text) {
    return text.size() >= 2 && text[0] == '{' && text[1] == '\\';
}

void ReadRichText(std::string_view rtf, QTextDocument& doc) {
    // The document group's opening brace belongs to the reader's stack.
    if (IsRichText(rtf)) rtf.remove_prefix(1);
    TReader(rtf, doc).Run();
}

std::string WriteRichText(const QTextDocument& doc) {
    std::vector<QString> fonts;
    std::vector<QColor> colors;
    auto fontIndex = [&](const QString& name) {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i] == name) return int(i);
        fonts.push_back(name);
        return int(fonts.size() - 1);
    };
    auto colorIndex = [&](const QColor& c) {
        for (size_t i = 0; i < colors.size(); ++i)
            if (colors[i] == c) return int(i) + 1;
        colors.push_back(c);
        return int(colors.size());
    };
    const QString defaultFamily = doc.defaultFont().family();
    fontIndex(defaultFamily);
    std::string body;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin()) body += "\\par\n";
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            const QTextCharFormat f = frag.charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            body += "{\\f" + std::to_string(fontIndex(families.isEmpty() ? defaultFamily : families.front()));
            const double pt = f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF();
            if (pt > 0) body += "\\fs" + std::to_string(int(pt * 2 + 0.5));
            if (f.fontWeight() >= QFont::Bold) body += "\\b";
            if (f.fontItalic()) body += "\\i";
            if (f.fontUnderline()) body += "\\ul";
            if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
                body += "\\cf" + std::to_string(colorIndex(f.foreground().color()));
            body += ' ';
            AppendEscaped(body, frag.text());
            body += '}';
        }
    }
    std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (size_t i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + std::to_string(i) + ' ';
        AppendEscaped(out, fonts[i]);
        out += ";}";
    }
    out += "}";
    if (!colors.empty()) {
        out += "{\\colortbl ;";
        for (const QColor& c : colors)
            out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) + "\\blue" +
                   std::to_string(c.blue()) + ";";
        out += "}";
    }
    out += "\n" + body + "}";
    return out;
}

namespace {

// The document drawing and measuring share, kept laid out for the last
// text, font and width.
struct TLayoutCache {
    QTextDocument Doc;
    std::string Text;
    QFont Font;
    int Width = -2;
    bool Recolored = false;
};

QTextDocument& LaidOut(std::string_view rtf, const QFont& font, int width, bool recolor) {
    static TLayoutCache cache;
    if (cache.Text != rtf || cache.Font != font || cache.Recolored || recolor) {
        cache.Doc.setDefaultFont(font);
        cache.Doc.setDocumentMargin(0);
        ReadRichText(rtf, cache.Doc);
        cache.Text.assign(rtf);
        cache.Font = font;
        cache.Width = -2;
    }
    cache.Recolored = recolor;
    if (cache.Width != width) {
        cache.Doc.setTextWidth(width);
        cache.Width = width;
    }
    return cache.Doc;
}

}  // namespace

QFont RichTextFont(const cb::gfx::TFont& f) {
    QFont q(QString::fromStdString(f.Name()));
    q.setPointSize(std::max(f.Size(), 1));
    q.setBold(f.Bold());
    q.setItalic(f.Italic());
    q.setUnderline(f.Underline());
    return q;
}

void DrawRichText(QPainter& painter, const QRect& r, std::string_view rtf, const QFont& font, const QColor* recolor) {
    QTextDocument& doc = LaidOut(rtf, font, r.width(), recolor != nullptr);
    if (recolor) {
        QTextCursor all(&doc);
        all.select(QTextCursor::Document);
        QTextCharFormat f;
        f.setForeground(*recolor);
        all.mergeCharFormat(f);
    }
    painter.save();
    painter.translate(r.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, r.width(), r.height());
    painter.setClipRect(context.clip, Qt::IntersectClip);
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
}

QSize MeasureRichText(std::string_view rtf, const QFont& font, int width) {
    QTextDocument& doc = LaidOut(rtf, font, width, false);
    const QSizeF size = doc.documentLayout()->documentSize();
    const int w = width < 0 ? int(std::ceil(doc.idealWidth())) : int(std::ceil(size.width()));
    return {w, int(std::ceil(size.height()))};
}

std::string RichTextToPlain(std::string_view rtf) {
    QTextDocument doc;
    ReadRichText(rtf, doc);
    return doc.toPlainText().toStdString();
}

}  // namespace cb::grid
