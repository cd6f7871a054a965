// The mark-up renderer. Each line is laid out twice from the same starting
// state: the first pass measures and decides where the line ends, the second
// draws (or hit-tests) the line placed by its alignment.
#include "grid/markup/MarkupRenderer.h"

#include "grid/markup/HTMLControls.h"
#include "grid/markup/HTMLPicture.h"
#include "grid/markup/MarkupText.h"
#include "platform/gfx/StylePainter.h"
#include "platform/rtl/Strings.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace cb::grid {

using namespace cb::gfx;

namespace {

enum class TTag : uint8_t {
    Ignore,
    LinkOpen,
    LinkClose,
    BoldOn,
    BoldOff,
    BlinkOn,
    ColorBase,
    Body,
    Control,
    ErrorOn,
    ErrorOff,
    Font,
    FontClose,
    HiOn,
    HiOff,
    HR,
    BR,
    ItalicOn,
    ItalicOff,
    Indent,
    Img,
    ListItem,
    Para,
    ParaClose,
    Rotate,
    RotateClose,
    StrikeOn,
    StrikeOff,
    ShadowOn,
    ShadowOff,
    SubOn,
    SupOn,
    SubSupOff,
    UnderOn,
    UnderOff,
    ListOpen,
    ListClose,
    HiddenOn,
    HiddenOff
};

struct TToken {
    bool IsTag = false;
    TTag Tag = TTag::Ignore;
    bool EndsBlank = false;  // a run ending in a blank, no entity in it
    std::string Text;        // decoded run, or the tag text between "<" and ">"
    std::string Upper;       // upper-cased tag text
    std::string Target;      // a link's target
};

char up(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

TTag classify(std::string_view t, bool terminated) {
    if (t.empty()) return TTag::Ignore;
    if (t[0] == '/') {
        if (t.size() < 2 || (!terminated && t.size() < 3)) return TTag::Ignore;
        const char c = up(t[1]);
        const char c2 = t.size() > 2 ? up(t[2]) : '>';
        switch (c) {
        case 'A':
            return TTag::LinkClose;
        case 'B':
            return c2 == '>' ? TTag::BoldOff : TTag::ColorBase;
        case 'E':
            return TTag::ErrorOff;
        case 'F':
            return TTag::FontClose;
        case 'H':
            return TTag::HiOff;
        case 'I':
            return TTag::ItalicOff;
        case 'P':
            return TTag::ParaClose;
        case 'R':
            return TTag::RotateClose;
        case 'S':
            return c2 == 'U' ? TTag::SubSupOff : c2 == 'H' ? TTag::ShadowOff : TTag::StrikeOff;
        case 'U':
            return c2 == '>' ? TTag::UnderOff : TTag::ListClose;
        case 'Z':
            return TTag::HiddenOff;
        default:
            return TTag::Ignore;
        }
    }
    const char c = up(t[0]);
    const char c2 = t.size() > 1 ? up(t[1]) : '>';
    switch (c) {
    case 'A':
        return TTag::LinkOpen;
    case 'B':
        if (c2 == '>') return TTag::BoldOn;
        if (c2 == 'R') return TTag::BR;
        if (c2 == 'L') return TTag::BlinkOn;
        if (c2 == 'O') return TTag::Body;
        return TTag::Ignore;
    case 'C':
        return TTag::Control;
    case 'E':
        return TTag::ErrorOn;
    case 'F':
        return TTag::Font;
    case 'H':
        return c2 == 'I' ? TTag::HiOn : c2 == 'R' ? TTag::HR : TTag::Ignore;
    case 'I':
        if (c2 == '>') return TTag::ItalicOn;
        if (c2 == 'N') return TTag::Indent;
        if (c2 == 'M') return TTag::Img;
        return TTag::Ignore;
    case 'L':
        return TTag::ListItem;
    case 'P':
        return TTag::Para;
    case 'R':
        return TTag::Rotate;
    case 'S':
        if (c2 == '>') return TTag::StrikeOn;
        if (c2 == 'H') return TTag::ShadowOn;
        if (t.size() >= 3 && up(t[1]) == 'U' && up(t[2]) == 'B') return TTag::SubOn;
        if (t.size() >= 3 && up(t[1]) == 'U' && up(t[2]) == 'P') return TTag::SupOn;
        return TTag::Ignore;
    case 'U':
        return c2 == '>' ? TTag::UnderOn : TTag::ListOpen;
    case 'Z':
        return TTag::HiddenOn;
    default:
        return TTag::Ignore;
    }
}

// "<#...>" loses its brackets once; line feeds go, carriage returns become <BR>.
std::string prepare(std::string_view text) {
    std::string s;
    s.reserve(text.size() + 8);
    size_t hash = text.find("<#");
    size_t hashClose = hash == std::string_view::npos ? hash : text.find('>', hash);
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == hash || i == hashClose) continue;
        const char c = text[i];
        if (c == '\n') continue;
        if (c == '\r')
            s += "<BR>";
        else
            s += c;
    }
    return s;
}

void addRun(std::vector<TToken>& out, std::string_view raw) {
    if (raw.empty()) return;
    TToken t;
    t.Text = raw.find('&') == std::string_view::npos ? std::string(raw) : DecodeEntities(raw);
    t.EndsBlank = raw.back() == ' ' && t.Text.size() == raw.size();
    out.push_back(std::move(t));
}

std::vector<TToken> tokenize(std::string_view s, bool wrap) {
    std::vector<TToken> out;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '<') {
            if (s.size() - i <= 2 && s.find('>', i) == std::string_view::npos) break;
            size_t close = s.find('>', i + 1);
            const bool terminated = close != std::string_view::npos;
            if (!terminated) close = s.size();
            TToken t;
            t.IsTag = true;
            t.Text = std::string(s.substr(i + 1, close - i - 1));
            t.Tag = classify(t.Text, terminated);
            if (t.Tag == TTag::Ignore) {
                i = close + 1;
                continue;
            }
            t.Upper = cb::rtl::UpperCase(t.Text);
            if (t.Tag == TTag::LinkOpen) {
                // The target: the text between the first two double quotes.
                const size_t q1 = t.Text.find('"');
                const size_t q2 = q1 == std::string::npos ? q1 : t.Text.find('"', q1 + 1);
                if (q2 != std::string::npos)
                    t.Target = DecodeEntities(std::string_view(t.Text).substr(q1 + 1, q2 - q1 - 1));
            }
            out.push_back(std::move(t));
            i = close + 1;
            continue;
        }
        size_t next = s.find('<', i);
        if (next == std::string_view::npos) next = s.size();
        if (wrap) {
            while (i < next) {
                size_t blank = s.find(' ', i);
                size_t end = blank == std::string_view::npos || blank >= next ? next : blank + 1;
                addRun(out, s.substr(i, end - i));
                i = end;
            }
        } else {
            addRun(out, s.substr(i, next - i));
            i = next;
        }
    }
    return out;
}

// Attribute value searched in the upper-cased tag, taken from the original.
std::string_view attr(const TToken& t, std::string_view name) {
    std::string_view v = HTMLAttribute(t.Upper, name);
    if (v.empty()) return {};
    return std::string_view(t.Text).substr(size_t(v.data() - t.Upper.data()), v.size());
}

std::string_view attrUpper(const TToken& t, std::string_view name) {
    return HTMLAttribute(t.Upper, name);
}

// The quoted value after the first letter ch of the tag text (after its own first letter).
std::string_view quotedAfterLetter(const TToken& t, char ch) {
    size_t p = t.Upper.find(ch, 1);
    if (p == std::string::npos) return {};
    size_t q1 = t.Upper.find('"', p);
    if (q1 == std::string::npos) return {};
    size_t q2 = t.Upper.find('"', q1 + 1);
    if (q2 == std::string::npos) return {};
    return std::string_view(t.Upper).substr(q1 + 1, q2 - q1 - 1);
}

struct TFontState {
    std::string Name;
    int Height = -11;
    TFontStyles Style = 0;
    TColor Color = clBlack;
    int Orientation = 0;
};

struct TState {
    TFontState Font;
    TColor Bk = clNone;
    bool InLink = false;
    const std::string* Link = nullptr;
    int LinkStartX = 0;
    int LinkStartLine = 0;
    int LinkCount = 0;
    int ListLevel = 0;
    int Pictures = 0;
    int Align = 0;  // 0 left, 1 right, 2 centre
    int Indent = 0;
    bool ParaBg = false, Sub = false, Sup = false, Shadow = false, Hidden = false, Error = false;
    bool FocusOpen = false;
    int FocusStartX = 0;
    TColor SavedFontBg = clNone, SavedParaBg = clNone, SavedHiColor = clBlack, SavedHiBg = clNone,
           SavedHoverBg = clNone;
    int SavedOrientation = 0;
};

struct TLine {
    size_t End = 0;
    int Width = 0;
    int Height = 0;
    int SubRoom = 0, SupRoom = 0, Shift = 0, Trailing = 0;
    bool Truncate = false;
};

enum class TPass {
    Measure,
    Draw,
    HitTest
};

// What a picture source resolves to.
struct TPictureRef {
    const THTMLImageList* List = nullptr;
    int Index = -1;
    THTMLPicture* Picture = nullptr;
    QImage Icon;  // a shell icon
    int W = 0, H = 0;
};

class TRenderer {
public:
    TRenderer(TCanvas& canvas, const THTMLRenderInput& in, THTMLRenderResult& out) : c(canvas), in(in), out(out) {}

    void run(std::string_view text);

private:
    TCanvas& c;
    const THTMLRenderInput& in;
    THTMLRenderResult& out;
    TFontState base;
    TColor entryBk = clWhite;
    std::vector<TToken> toks;
    TState s;
    int lineNo = 0;

    void applyFont(const TFontState& f) {
        TFont& cf = c.Font();
        if (cf.Name() != f.Name) cf.SetName(f.Name);
        if (cf.Height() != f.Height) cf.SetHeight(f.Height);
        if (cf.Style() != f.Style) cf.SetStyle(f.Style);
        if (cf.Color() != f.Color) cf.SetColor(f.Color);
        if (cf.Orientation() != f.Orientation) cf.SetOrientation(f.Orientation);
    }
    int gh() {
        applyFont(s.Font);
        return c.TextMetrics().Height;
    }
    void applyBk() {
        if (s.Bk == clNone) {
            c.SetBkMode(TRANSPARENT);
        } else {
            c.SetBkMode(OPAQUE);
            c.SetBkColor(s.Bk);
        }
    }
    void fill(const TRect& r, TColor color) {
        if (color == clNone || r.Right <= r.Left || r.Bottom <= r.Top) return;
        c.Brush().SetColor(color);
        c.Brush().SetStyle(bsSolid);
        c.FillRect(r);
        c.Brush().SetStyle(bsClear);
    }
    TPictureRef resolve(std::string_view src);
    void drawPicture(const TPictureRef& p, int x, int y, int w, int h, bool sized);
    TLine line(TPass pass, size_t from, const TRect& box, const TLine* measured);
};

TPictureRef TRenderer::resolve(std::string_view src) {
    TPictureRef r;
    if (src.size() >= 4 && cb::rtl::SameText(src.substr(0, 4), "IDX:")) {
        bool clean = false;
        const int n = HTMLReadInt(src.substr(4), &clean);
        if (in.Images && clean && n >= 0 && n < in.Images->Count()) {
            r.List = in.Images;
            r.Index = n;
            r.W = in.Images->Width();
            r.H = in.Images->Height();
            if (in.Printing) {
                r.W = int(r.W * in.PrintScale + 0.5);
                r.H = int(r.H * in.PrintScale + 0.5);
            }
        }
        return r;
    }
    if (src.size() >= 5 &&
        (cb::rtl::SameText(src.substr(0, 5), "SSYS:") || cb::rtl::SameText(src.substr(0, 5), "LSYS:"))) {
        // The desktop's icon of a file or folder (asked by name, never read),
        // or of a kind of item by number.
        const int size = up(src[0]) == 'L' ? 32 : 16;
        std::string_view rest = src.substr(5);
        bool clean = false;
        const int n = HTMLReadInt(rest, &clean);
        QFileIconProvider provider;
        QIcon icon;
        if (clean && n >= 0)
            icon = provider.icon(QAbstractFileIconProvider::IconType(n % 7));
        else if (!rest.empty())
            icon = provider.icon(QFileInfo(QString::fromUtf8(rest.data(), qsizetype(rest.size()))));
        if (!icon.isNull()) r.Icon = icon.pixmap(size, size).toImage();
        if (!r.Icon.isNull()) {
            r.W = size;
            r.H = size;
            if (in.Printing) {
                r.W = int(size * in.PrintScale + 0.5);
                r.H = r.W;
            }
        }
        return r;
    }
    if (src.empty()) return r;
    if (src.find(':') == std::string_view::npos) {
        if (in.Container) r.Picture = in.Container->FindPicture(std::string(src));
    } else if (src.find("://") != std::string_view::npos && in.Cache) {
        const std::string id = cb::rtl::UpperCase(src);
        r.Picture = in.Cache->Find(id);
        if (!r.Picture) {
            r.Picture = in.Cache->Add();
            r.Picture->LoadFromAddress(std::string(src));
        }
    }
    if (r.Picture && !r.Picture->Empty()) {
        const bool anim = r.Picture->FrameCount() > 1;
        r.W = anim ? r.Picture->AnimationWidth() : r.Picture->Width();
        r.H = anim ? r.Picture->AnimationHeight() : r.Picture->Height();
    } else {
        r.Picture = nullptr;
    }
    return r;
}

void TRenderer::drawPicture(const TPictureRef& p, int x, int y, int w, int h, bool sized) {
    if (p.List) {
        p.List->Draw(c, {x, y, x + w, y + h}, p.Index);
        return;
    }
    if (!p.Icon.isNull()) {
        c.DrawImage({x, y, x + w, y + h}, p.Icon, {0, 0, p.Icon.width(), p.Icon.height()});
        return;
    }
    if (!p.Picture) return;
    if (sized) {
        const bool keep = p.Picture->Stretch;
        p.Picture->Stretch = true;
        p.Picture->Draw(c, {x, y, x + w, y + h});
        p.Picture->Stretch = keep;
        return;
    }
    if (p.Picture->FrameCount() > 1)
        fill({x, y, x + p.Picture->AnimationWidth(), y + p.Picture->AnimationHeight()}, entryBk);
    const int fx = p.Picture->FrameCount() > 1 ? p.Picture->FrameLeft() : 0;
    const int fy = p.Picture->FrameCount() > 1 ? p.Picture->FrameTop() : 0;
    p.Picture->Draw(c, {x + fx, y + fy, x + fx + p.Picture->Width(), y + fy + p.Picture->Height()});
}

// Lays out one line from token `from`. The measuring pass decides where it
// ends; the others replay the same tokens in the placed box.
TLine TRenderer::line(TPass pass, size_t from, const TRect& box, const TLine* measured) {
    const bool drawing = pass == TPass::Draw;
    const bool first = pass == TPass::Measure;
    TLine L;
    if (measured) L = *measured;
    const size_t to = measured ? measured->End : toks.size();
    int lineW = 0;
    int lineH = first ? gh() : L.Height;
    int subRoom = first ? 0 : L.SubRoom, supRoom = first ? 0 : L.SupRoom, shift = first ? 0 : L.Shift;
    TRect pen = box;
    pen.Bottom -= subRoom;
    bool hadText = false, lastBlank = false, itemOnLine = false;
    int trailing = 0;
    const int boxW = box.Right - box.Left;
    s.Sub = s.Sup = false;

    if (drawing && s.ParaBg) fill({in.Rect.Left, box.Top, in.Rect.Right, box.Top + lineH}, s.Bk);

    size_t i = from;
    bool endLine = false;
    for (; i < to && !endLine; ++i) {
        const TToken& t = toks[i];
        if (!t.IsTag) {
            if (s.Hidden) {
                if (first) out.PlainText += t.Text;
                continue;
            }
            applyFont(s.Font);
            const TSize ext = c.TextExtent(t.Text);
            const int w = ext.cx, h = ext.cy;
            if (first) {
                bool fits = true;
                if (in.WordWrap) {
                    fits = lineW + w < boxW || w >= boxW || (hadText && !lastBlank);
                } else if (lineW + w >= boxW && hadText) {
                    L.Truncate = true;
                    endLine = true;
                }
                if (!fits) break;
                lineH = std::max(lineH, h);
                if (s.Sub) subRoom = std::max(subRoom, h / 4);
                if (s.Sup) supRoom = std::max(supRoom, h / 4);
                out.PlainText += t.Text;
            }
            const int x = box.Left + lineW;
            if (drawing && x < box.Right) {
                int bottom = pen.Bottom - shift;
                if (s.Sup) bottom -= supRoom;
                if (s.Sub) bottom += subRoom;
                const bool clip = !in.WordWrap && x + w > box.Right;
                auto out1 = [&](int dx, TColor color) {
                    const TColor keep = s.Font.Color;
                    if (color != clNone) {
                        c.Font().SetColor(color);
                        c.SetBkMode(TRANSPARENT);
                    }
                    if (clip) {
                        TRect r{x + dx, bottom - h + dx, box.Right + dx, bottom + dx};
                        c.DrawText(t.Text, r,
                                   DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_EXPANDTABS | DT_END_ELLIPSIS);
                    } else {
                        c.TextOut(x + dx, bottom - h + dx, t.Text);
                    }
                    c.Font().SetColor(keep);
                };
                if (s.Shadow) out1(in.ShadowOffset, in.ShadowColor);
                applyBk();
                out1(0, clNone);
                if (s.Error) {
                    c.Pen().SetColor(clRed);
                    c.Pen().SetWidth(1);
                    std::vector<TPoint> pts;
                    const int right = std::min(x + w, box.Right);
                    for (int px = (x / 2) * 2; px <= right; px += 2)
                        pts.push_back({px, pen.Bottom + ((px % 4 == 0) ? 1 : -1)});
                    if (pts.size() > 1) c.Polyline(pts);
                }
            }
            if (!first && s.InLink && in.Point.X >= x && in.Point.X <= x + w) {
                const int g = h;
                if (in.Point.Y > box.Bottom - shift - g && in.Point.Y < box.Bottom - shift) {
                    out.Hit = true;
                    out.HitTarget = *s.Link;
                    out.HitLink = -2;  // completed when the link closes
                }
            }
            lineW += w;
            hadText = true;
            lastBlank = t.EndsBlank;
            trailing = t.EndsBlank ? c.TextWidth(" ") : 0;
            continue;
        }

        switch (t.Tag) {
        case TTag::LinkOpen: {
            ++s.LinkCount;
            const bool styled = !in.HoverOnly || s.LinkCount == in.HoverLink;
            if (s.LinkCount - 1 == in.FocusLink) {
                s.FocusOpen = true;
                s.FocusStartX = box.Left + lineW;
            }
            if (drawing && styled) {
                s.Font.Style |= fsUnderline;
                if (in.HoverBackColor != clNone) {
                    s.SavedHoverBg = s.Bk;
                    s.Bk = in.HoverBackColor;
                }
                if (in.HoverTextColor != clNone) s.Font.Color = in.HoverTextColor;
            }
            if (!in.Selected && !(in.HoverOnly && s.LinkCount == in.HoverLink && in.HoverTextColor != clNone))
                s.Font.Color = in.LinkColor;
            s.Link = &t.Target;
            s.InLink = true;
            s.LinkStartX = box.Left + lineW;
            s.LinkStartLine = lineNo;
            if (s.LinkCount - 1 == in.FocusLink) out.FocusTarget = t.Target;
            break;
        }
        case TTag::LinkClose: {
            const bool styled = !in.HoverOnly || s.LinkCount == in.HoverLink;
            if (drawing && styled) {
                s.Font.Style &= ~TFontStyles(fsUnderline);
                if (in.HoverBackColor != clNone) s.Bk = s.SavedHoverBg;
            }
            if (!in.Selected) s.Font.Color = base.Color;
            if (s.InLink && out.HitLink == -2 && pass != TPass::Measure) {
                out.HitLinkRect = {s.LinkStartLine == lineNo ? s.LinkStartX : box.Left, box.Top, box.Left + lineW,
                                   box.Bottom};
                out.HitLink = s.LinkCount;
            }
            s.InLink = false;
            if (s.FocusOpen && s.LinkCount - 1 == in.FocusLink) {
                s.FocusOpen = false;
                if (drawing) {
                    const int bottom = pen.Bottom - shift;
                    TRect fr{s.FocusStartX - 1, bottom - gh(), box.Left + lineW + 1, bottom};
                    c.DrawFocusRect(fr);
                }
            }
            break;
        }
        case TTag::BoldOn:
            s.Font.Style |= fsBold;
            break;
        case TTag::BoldOff:
            s.Font.Style &= ~TFontStyles(fsBold);
            break;
        case TTag::ItalicOn:
            s.Font.Style |= fsItalic;
            break;
        case TTag::ItalicOff:
            s.Font.Style &= ~TFontStyles(fsItalic);
            break;
        case TTag::StrikeOn:
            s.Font.Style |= fsStrikeOut;
            break;
        case TTag::StrikeOff:
            s.Font.Style &= ~TFontStyles(fsStrikeOut);
            break;
        case TTag::UnderOn:
            s.Font.Style |= fsUnderline;
            break;
        case TTag::UnderOff:
            s.Font.Style &= ~TFontStyles(fsUnderline);
            break;
        case TTag::ListOpen:
            ++s.ListLevel;
            break;
        case TTag::ListClose:
            if (s.ListLevel > 0)
                --s.ListLevel;
            else
                s.Font.Style &= ~TFontStyles(fsUnderline);
            break;
        case TTag::BlinkOn:
            if (!in.BlinkPhase) s.Font.Color = entryBk;
            break;
        case TTag::ColorBase:
            s.Font.Color = base.Color;
            break;
        case TTag::ErrorOn:
            s.Error = drawing;
            break;
        case TTag::ErrorOff:
            s.Error = false;
            break;
        case TTag::HiddenOn:
            s.Hidden = true;
            break;
        case TTag::HiddenOff:
            s.Hidden = false;
            break;
        case TTag::ShadowOn:
            s.Shadow = true;
            break;
        case TTag::ShadowOff:
            s.Shadow = false;
            break;
        case TTag::SubOn:
            s.Sub = true;
            break;
        case TTag::SupOn:
            s.Sup = true;
            break;
        case TTag::SubSupOff:
            s.Sub = s.Sup = false;
            break;
        case TTag::HiOn:
            if (drawing) {
                s.SavedHiColor = s.Font.Color;
                s.SavedHiBg = s.Bk;
                s.Bk = clHighlight;
                s.Font.Color = clHighlightText;
            }
            break;
        case TTag::HiOff:
            if (drawing) {
                s.Font.Color = s.SavedHiColor;
                s.Bk = s.SavedHiBg;
            }
            break;
        case TTag::BR:
            if (first) out.PlainText += '\r';
            endLine = true;
            break;
        case TTag::HR:
            if (drawing) {
                c.Pen().SetColor(clBlack);
                c.Pen().SetWidth(1);
                c.MoveTo(box.Left, pen.Bottom + 1);
                c.LineTo(box.Right, pen.Bottom + 1);
            }
            endLine = true;
            break;
        case TTag::ParaClose:
            if (drawing) {
                s.Bk = s.SavedParaBg;
                s.ParaBg = false;
            }
            endLine = true;
            break;
        case TTag::Para: {
            std::string_view a = attrUpper(t, "ALIGN");
            if (a.find("RIGHT") != std::string_view::npos) s.Align = 1;
            if (a.find("LEFT") != std::string_view::npos) s.Align = 0;
            if (a.find("CENTER") != std::string_view::npos) s.Align = 2;
            bool found = false;
            std::string_view ind = HTMLAttribute(t.Upper, "INDENT", &found);
            if (found) s.Indent = HTMLReadInt(ind);
            std::string_view bg = HTMLAttribute(t.Upper, "BGCOLOR", &found);
            if (found && drawing) {
                s.ParaBg = true;
                s.SavedParaBg = s.Bk;
                s.Bk = HTMLColor(bg);
                fill({in.Rect.Left, box.Top, in.Rect.Right, box.Top + lineH}, s.Bk);
            }
            break;
        }
        case TTag::Font: {
            bool found = false;
            std::string_view face = attr(t, "FACE");
            if (!face.empty()) s.Font.Name = std::string(face);
            size_t sp = t.Upper.find("SIZE=");
            if (sp != std::string::npos) {
                std::string_view v = std::string_view(t.Upper).substr(sp + 5);
                if (!v.empty() && v[0] == '"') v.remove_prefix(1);
                const int n = HTMLReadInt(v.substr(0, v.find_first_of("\" >")));
                static constexpr int kSizes[] = {8, 10, 12, 14, 16};
                const int pt = n >= 1 && n <= 5 ? kSizes[n - 1] : n;
                if (pt > 0 && pt <= 200) s.Font.Height = -(pt * c.Font().PixelsPerInch() + 36) / 72;
            }
            std::string_view col = HTMLAttribute(t.Upper, " COLOR", &found);
            if (found && !col.empty() && !in.Selected) s.Font.Color = HTMLColor(col);
            std::string_view bg = HTMLAttribute(t.Upper, "BGCOLOR", &found);
            if (found && !bg.empty() && drawing && !in.Selected) {
                s.SavedFontBg = s.Bk;
                s.Bk = HTMLColor(bg);
            }
            break;
        }
        case TTag::FontClose:
            s.Font.Name = base.Name;
            s.Font.Height = base.Height;
            if (drawing && !in.Selected) {
                s.Font.Color = base.Color;
                s.Bk = s.SavedFontBg;
            }
            break;
        case TTag::Rotate: {
            bool clean = false;
            const int a = HTMLReadInt(quotedAfterLetter(t, 'A'), &clean);
            s.SavedOrientation = s.Font.Orientation;
            s.Font.Orientation = (a % 360) * 10;
            break;
        }
        case TTag::RotateClose:
            s.Font.Orientation = s.SavedOrientation;
            break;
        case TTag::Indent: {
            bool clean = false;
            const int n = HTMLReadInt(quotedAfterLetter(t, 'X'), &clean);
            if (clean && lineW < n) lineW = n;
            break;
        }
        case TTag::Body:
            if (drawing) {
                std::string_view bgPic = attr(t, "BACKGROUND");
                if (!bgPic.empty()) {
                    TPictureRef p = resolve(bgPic);
                    if (p.Picture && p.W > 0 && p.H > 0) {
                        c.PushClipRect(in.Rect);
                        for (int y = in.Rect.Top; y < in.Rect.Bottom; y += p.H)
                            for (int x = in.Rect.Left; x < in.Rect.Right; x += p.W)
                                p.Picture->Draw(c, {x, y, x + p.W, y + p.H});
                        c.PopClip();
                    }
                }
                std::string_view bg = attrUpper(t, "BGCOLOR");
                if (bg.find("CL") != std::string_view::npos || bg.find('#') != std::string_view::npos) {
                    const TColor color =
                        bg.find("CL") != std::string_view::npos ? HTMLColorByName(bg) : HTMLHexColor(bg);
                    fill(in.Rect, color);
                    s.Bk = color;
                }
            }
            break;
        case TTag::ListItem: {
            if (itemOnLine) {
                endLine = true;
                --i;  // the item starts the next line
                break;
            }
            itemOnLine = true;
            if (drawing) {
                applyFont(s.Font);
                c.SetBkMode(TRANSPARENT);
                const int x = box.Left + lineW + 12 * std::max(0, s.ListLevel - 1);
                const char* bullet = s.ListLevel % 2 ? "\xE2\x80\xA2" : "o";
                c.TextOut(x, pen.Bottom - shift - c.TextMetrics().Height, bullet);
            }
            lineW += 12 * s.ListLevel;
            break;
        }
        case TTag::Img: {
            std::string_view src = attr(t, "SRC");
            std::string_view alt = attr(t, "ALT");
            bool cw = false, ch = false;
            const int aw = HTMLReadInt(attrUpper(t, "WIDTH"), &cw);
            const int ah = HTMLReadInt(attrUpper(t, "HEIGHT"), &ch);
            const bool sized = aw >= 1 && ah >= 1;
            TPictureRef p = resolve(src);
            const bool any = p.List || p.Picture || !p.Icon.isNull();
            const int w = any ? (sized ? aw : p.W) : 0;
            const int h = any ? (sized ? ah : p.H) : 0;
            if (first && lineW + w > boxW && w < boxW && lineW > 0) {
                endLine = true;
                --i;
                break;
            }
            ++s.Pictures;
            const int x = box.Left + lineW;
            const int y = pen.Top;
            const bool over = in.Point.X > x && in.Point.X < x + w && in.Point.Y > y && in.Point.Y < y + h;
            if (!first && over && s.InLink) {
                out.Hit = true;
                out.HitTarget = *s.Link;
                out.HitLink = -2;
            }
            if (drawing && w > 0) {
                TPictureRef shown = p;
                if (over && !alt.empty()) {
                    TPictureRef a = resolve(alt);
                    if (a.List || a.Picture || !a.Icon.isNull()) shown = a;
                }
                drawPicture(shown, x, y, w, h, sized);
            }
            lineW += w;
            if (first) {
                lineH = std::max(lineH, h);
                std::string_view align = attrUpper(t, "ALIGN");
                if (t.Upper.find("\"TOP") != std::string::npos || align == "TOP")
                    shift = lineH - gh();
                else if (t.Upper.find("\"MIDDLE") != std::string::npos || align == "MIDDLE")
                    shift = (lineH - gh()) / 2;
            }
            break;
        }
        case TTag::Control: {
            if (!in.Controls) break;
            THTMLControlTag ct = ParseHTMLControlTag(t.Text);
            if (ct.Width.empty()) break;
            bool clean = false;
            int cw = HTMLReadInt(ct.Width, &clean);
            if (!clean || cw <= 0 || cw > 10000) cw = HTMLControlDefaultWidth;
            applyFont(s.Font);
            int bw = cw, bh = c.TextMetrics().Height + 6;
            if (ct.Type == "COMBO") bh = 25;
            if (ct.Type == "BUTTON") bh = 24;
            if (ct.Type == "CHECK" || ct.Type == "RADIO") bw = bh = 16;
            if (first && lineW + bw > boxW && bw < boxW && lineW > 0) {
                endLine = true;
                --i;
                break;
            }
            const int x = box.Left + lineW;
            if (!first && in.Point.X > x && in.Point.X < x + bw && in.Point.Y > pen.Top && in.Point.Y < pen.Top + bh) {
                out.Hit = true;
                out.HitTarget = "ctrl";
                out.ControlRect = {x, pen.Top, x + bw, pen.Top + bh};
                out.ControlID = ct.ID;
                out.ControlValue = ct.Value;
                out.ControlType = ct.Type;
            }
            if (drawing) {
                const int F = pen.Bottom, H = lineH;
                const bool hot =
                    in.Point.X > x - 2 && in.Point.X < x + bw - 2 && in.Point.Y > F - bh - 2 && in.Point.Y < F - 2;
                const bool checked = cb::rtl::SameText(ct.Value, "TRUE");
                c.SetBkMode(TRANSPARENT);
                auto frame = [&](int top) {
                    c.Pen().SetColor(clGray);
                    c.Pen().SetWidth(1);
                    c.Brush().SetStyle(bsClear);
                    c.Rectangle(x, top, x + cw, F + 1);
                };
                if (ct.Type == "EDIT") {
                    frame(F - H + 3);
                    TRect tr{x + 2, F - H + 4, x + cw, F};
                    c.DrawText(ct.Value, tr, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
                } else if (ct.Type == "COMBO") {
                    frame(F - H + 3);
                    TRect tr{x + 2, F - H + 6, x + cw - 17, F};
                    c.DrawText(ct.Value, tr, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
                    DrawThemedComboButton(c, {x + cw - 19, F - H + 6, x + cw - 3, F - 2},
                                          hot ? TThemeState::Hot : TThemeState::Normal);
                } else if (ct.Type == "CHECK") {
                    DrawThemedCheckBox(c, {x + 2, F - 15, x + 15, F},
                                       checked ? TCheckState::Checked : TCheckState::Unchecked, TThemeState::Normal);
                } else if (ct.Type == "RADIO") {
                    DrawThemedRadioButton(c, {x + 2, F - 14, x + 14, F}, checked,
                                          hot && in.MouseDown ? TThemeState::Pressed
                                          : hot               ? TThemeState::Hot
                                                              : TThemeState::Normal);
                } else if (ct.Type == "BUTTON") {
                    const TRect br{x + 2, F - 20, x + cw - 2, F};
                    DrawThemedPushButton(c, br,
                                         in.MouseDown && hot ? TThemeState::Pressed
                                         : hot               ? TThemeState::Hot
                                                             : TThemeState::Normal);
                    TRect tr{br.Left + 2, br.Top + 2, br.Right - 2, br.Bottom - 2};
                    applyFont(s.Font);
                    c.DrawText(ct.Value, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
                }
                c.Brush().SetStyle(bsClear);
            }
            lineW += bw;
            if (first) lineH = std::max(lineH, bh);
            break;
        }
        case TTag::Ignore:
            break;
        }
    }
    if (s.FocusOpen && drawing) {
        const int bottom = pen.Bottom - shift;
        c.DrawFocusRect({s.FocusStartX - 1, bottom - gh(), box.Left + lineW + 1, bottom});
        s.FocusStartX = box.Left + 1;
    }
    if (first) {
        L.End = i;
        // A line always takes something, so the layout ends.
        if (L.End == from && from < toks.size()) L.End = from + 1;
        L.Width = lineW;
        L.Height = lineH;
        L.SubRoom = subRoom;
        L.SupRoom = supRoom;
        L.Shift = shift;
        L.Trailing = trailing;
    }
    return L;
}

void TRenderer::run(std::string_view text) {
    TFont keepFont;
    keepFont.Assign(c.Font());
    const TColor keepBrush = c.Brush().Color();
    const TBrushStyle keepBrushStyle = c.Brush().Style();
    const TColor keepPen = c.Pen().Color();
    const int keepPenWidth = c.Pen().Width();
    const unsigned keepAlign = c.TextAlign();
    entryBk = keepBrush != clNone && keepBrushStyle != bsClear ? keepBrush : c.BkColor();
    base.Name = c.Font().Name();
    base.Height = c.Font().Height();
    base.Style = c.Font().Style();
    base.Color = c.Font().Color();
    base.Orientation = c.Font().Orientation();
    s.Font = base;
    c.Brush().SetStyle(bsClear);
    c.SetBkMode(TRANSPARENT);
    c.SetTextAlign(TA_LEFT | TA_TOP);

    toks = tokenize(prepare(text), in.WordWrap);
    TRect lineBox = in.Rect;
    lineBox.Left += 1;
    size_t pos = 0;
    while (pos < toks.size()) {
        const TState start = s;
        const int ghStart = gh();
        const TLine m = line(TPass::Measure, pos, lineBox, nullptr);
        const int total = m.Height + m.SubRoom + m.SupRoom;
        TRect placed = lineBox;
        if (s.Align == 1) {
            if (placed.Right - m.Width > placed.Left) placed.Left = placed.Right - m.Width;
        } else if (s.Align == 2) {
            const int free = placed.Right - placed.Left - m.Width;
            if (free > 0) placed.Left += free / 2;
        }
        placed.Left += s.Indent;
        placed.Bottom = placed.Top + total;
        if (!in.MeasureOnly) {
            s = start;
            line(in.HitTestOnly ? TPass::HitTest : TPass::Draw, pos, placed, &m);
        }
        ++lineNo;
        pos = m.End;
        lineBox.Top += total;
        out.Height += total;
        out.Width = std::max(out.Width, m.Width - m.Trailing);
        if (m.Truncate) break;
        if (!in.MeasureOnly && lineBox.Top + ghStart > in.Rect.Bottom) break;
    }
    out.LinkCount = s.LinkCount;
    if (out.HitLink == -2) out.HitLink = -1;
    if (out.Height == 0) {
        applyFont(base);
        out.Height = c.TextMetrics().Height;
    }
    c.Font().Assign(keepFont);
    c.Brush().SetColor(keepBrush);
    c.Brush().SetStyle(keepBrushStyle);
    c.Pen().SetColor(keepPen);
    c.Pen().SetWidth(keepPenWidth);
    c.SetTextAlign(keepAlign);
    c.SetBkMode(TRANSPARENT);
}

}  // namespace

bool RenderHTML(TCanvas& canvas, std::string_view text, const THTMLRenderInput& in, THTMLRenderResult& out) {
    out.Hit = false;
    out.PlainText.clear();
    out.FocusTarget.clear();
    out.Width = out.Height = out.LinkCount = 0;
    out.HitLink = -1;
    out.ControlRect = {0, 0, 0, 0};
    out.ControlID.clear();
    out.ControlValue.clear();
    out.ControlType.clear();
    try {
        TRenderer r(canvas, in, out);
        r.run(text);
    } catch (const std::exception&) {
        // Painting never raises; what was laid out so far stands.
    }
    if (in.MeasureOnly) out.Hit = false;
    return out.Hit;
}

// ---- measure cache ----------------------------------------------------------

struct THTMLMeasureCache::TImpl {
    std::unordered_map<std::string, TPoint> Map;
    std::string Key;
    size_t Bytes = 0;
};

namespace {
// Long texts are measured each time; the cache holds at most this much text.
constexpr size_t kMaxCachedText = 4096;
constexpr size_t kMaxCacheBytes = 8u << 20;
}  // namespace

THTMLMeasureCache::THTMLMeasureCache() : FImpl(std::make_unique<TImpl>()) {}
THTMLMeasureCache::~THTMLMeasureCache() = default;

TPoint THTMLMeasureCache::Measure(TCanvas& canvas, const std::string& text, int width, bool wordWrap,
                                  const THTMLRenderInput* pictures) {
    const TFont& f = canvas.Font();
    std::string& key = FImpl->Key;
    key.assign(text);
    key += '\x01';
    key += f.Name();
    key += '\x01';
    key += std::to_string(f.Height()) + ',' + std::to_string(unsigned(f.Style())) + ',' + std::to_string(width) +
           (wordWrap ? ",w" : ",n");
    auto it = FImpl->Map.find(key);
    if (it != FImpl->Map.end()) return it->second;
    THTMLRenderInput in;
    if (pictures) {
        in.Images = pictures->Images;
        in.Cache = pictures->Cache;
        in.Container = pictures->Container;
    }
    in.Rect = {0, 0, width, 0};
    in.MeasureOnly = true;
    in.WordWrap = wordWrap;
    THTMLRenderResult out;
    RenderHTML(canvas, text, in, out);
    const TPoint p{out.Width, out.Height};
    if (text.size() > kMaxCachedText) return p;
    if (FImpl->Bytes + key.size() > kMaxCacheBytes) Clear();
    FImpl->Bytes += key.size();
    FImpl->Map.emplace(key, p);
    return p;
}

void THTMLMeasureCache::Clear() {
    FImpl->Map.clear();
    FImpl->Bytes = 0;
}
size_t THTMLMeasureCache::Size() const {
    return FImpl->Map.size();
}

}  // namespace cb::grid
