// The mark-up renderer. Each line is laid out twice from the same starting
// state: the first pass measures and decides where the line ends, the second
// draws (or hit-tests) the line placed by its alignment.
//
// The pieces: the tokenizer (MarkupTokens.cpp) makes runs of text and tags;
// the tag state (TState, changed by ApplyStyleTag) carries font, colours and
// flags from token to token; the line layout (Line, Text, Tag and the
// handlers of the tags that take room) places tokens on a line and decides
// where it ends; the painters draw what the drawing pass placed.
#include "grid/markup/MarkupRenderer.h"

#include "grid/markup/HTMLControls.h"
#include "grid/markup/HTMLPicture.h"
#include "grid/markup/MarkupText.h"
#include "grid/markup/MarkupTokens.h"
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

using TTag = TMarkupTag;
using TToken = TMarkupToken;

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

// How a token leaves the line it is laid out on.
enum class TStep {
    Next,      // taken; the line goes on
    EndAfter,  // taken; the line ends after it
    EndBefore  // not taken; it starts the next line
};

// One line while its tokens are placed.
struct TLineRun {
    TPass Pass = TPass::Measure;
    bool Drawing = false;
    bool Measuring = false;
    TRect Box;
    TRect Pen;  // the box less the room below the line for subscripts
    int BoxW = 0;
    int W = 0;  // laid out so far
    int H = 0;
    int SubRoom = 0, SupRoom = 0, Shift = 0;
    bool HadText = false, LastBlank = false, ItemOnLine = false;
    int Trailing = 0;
    bool Truncate = false;
    int X() const { return Box.Left + W; }
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

    // Line layout.
    TLine line(TPass pass, size_t from, const TRect& box, const TLine* measured);
    TStep text(const TToken& t, TLineRun& r);
    TStep tag(const TToken& t, TLineRun& r);
    void linkOpen(const TToken& t, TLineRun& r);
    void linkClose(TLineRun& r);
    void para(const TToken& t, const TLineRun& r);
    TStep listItem(TLineRun& r);
    TStep image(const TToken& t, TLineRun& r);
    TStep control(const TToken& t, TLineRun& r);
    // Tag state: the tags that only change font, colours or flags; false
    // for the others.
    bool applyStyleTag(const TToken& t, bool drawing);
    void fontTag(const TToken& t, bool drawing);
    // Painters.
    void paintRun(const TToken& t, const TLineRun& r, int x, int w, int h);
    void paintBody(const TToken& t);
    void paintRule(const TLineRun& r);
    void paintFocus(const TLineRun& r);
    void paintControl(const THTMLControlTag& ct, const TLineRun& r, int x, int cw, int bw, int bh);
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
        const int size = MarkupUpper(src[0]) == 'L' ? 32 : 16;
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
    TLineRun r;
    r.Pass = pass;
    r.Drawing = pass == TPass::Draw;
    r.Measuring = pass == TPass::Measure;
    r.Box = box;
    r.BoxW = box.Right - box.Left;
    if (measured) {
        r.H = measured->Height;
        r.SubRoom = measured->SubRoom;
        r.SupRoom = measured->SupRoom;
        r.Shift = measured->Shift;
    } else {
        r.H = gh();
    }
    r.Pen = box;
    r.Pen.Bottom -= r.SubRoom;
    s.Sub = s.Sup = false;
    if (r.Drawing && s.ParaBg) fill({in.Rect.Left, box.Top, in.Rect.Right, box.Top + r.H}, s.Bk);

    const size_t to = measured ? measured->End : toks.size();
    size_t i = from;
    while (i < to) {
        const TStep step = toks[i].IsTag ? tag(toks[i], r) : text(toks[i], r);
        if (step == TStep::EndBefore) break;
        ++i;
        if (step == TStep::EndAfter) break;
    }
    if (s.FocusOpen && r.Drawing) {
        paintFocus(r);
        s.FocusStartX = box.Left + 1;
    }
    if (measured) return *measured;
    TLine L;
    // A line always takes something, so the layout ends.
    L.End = i == from && from < toks.size() ? from + 1 : i;
    L.Width = r.W;
    L.Height = r.H;
    L.SubRoom = r.SubRoom;
    L.SupRoom = r.SupRoom;
    L.Shift = r.Shift;
    L.Trailing = r.Trailing;
    L.Truncate = r.Truncate;
    return L;
}

TStep TRenderer::text(const TToken& t, TLineRun& r) {
    if (s.Hidden) {
        if (r.Measuring) out.PlainText += t.Text;
        return TStep::Next;
    }
    applyFont(s.Font);
    const TSize ext = c.TextExtent(t.Text);
    const int w = ext.cx, h = ext.cy;
    TStep step = TStep::Next;
    if (r.Measuring) {
        if (in.WordWrap) {
            if (!(r.W + w < r.BoxW || w >= r.BoxW || (r.HadText && !r.LastBlank))) return TStep::EndBefore;
        } else if (r.W + w >= r.BoxW && r.HadText) {
            r.Truncate = true;
            step = TStep::EndAfter;
        }
        r.H = std::max(r.H, h);
        if (s.Sub) r.SubRoom = std::max(r.SubRoom, h / 4);
        if (s.Sup) r.SupRoom = std::max(r.SupRoom, h / 4);
        out.PlainText += t.Text;
    }
    const int x = r.X();
    if (r.Drawing && x < r.Box.Right) paintRun(t, r, x, w, h);
    if (!r.Measuring && s.InLink && in.Point.X >= x && in.Point.X <= x + w && in.Point.Y > r.Box.Bottom - r.Shift - h &&
        in.Point.Y < r.Box.Bottom - r.Shift) {
        out.Hit = true;
        out.HitTarget = *s.Link;
        out.HitLink = -2;  // completed when the link closes
    }
    r.W += w;
    r.HadText = true;
    r.LastBlank = t.EndsBlank;
    r.Trailing = t.EndsBlank ? c.TextWidth(" ") : 0;
    return step;
}

TStep TRenderer::tag(const TToken& t, TLineRun& r) {
    if (applyStyleTag(t, r.Drawing)) return TStep::Next;
    switch (t.Tag) {
    case TTag::LinkOpen:
        linkOpen(t, r);
        return TStep::Next;
    case TTag::LinkClose:
        linkClose(r);
        return TStep::Next;
    case TTag::BR:
        if (r.Measuring) out.PlainText += '\r';
        return TStep::EndAfter;
    case TTag::HR:
        if (r.Drawing) paintRule(r);
        return TStep::EndAfter;
    case TTag::ParaClose:
        if (r.Drawing) {
            s.Bk = s.SavedParaBg;
            s.ParaBg = false;
        }
        return TStep::EndAfter;
    case TTag::Para:
        para(t, r);
        return TStep::Next;
    case TTag::Indent: {
        bool clean = false;
        const int n = HTMLReadInt(t.QuotedAfterLetter('X'), &clean);
        if (clean && r.W < n) r.W = n;
        return TStep::Next;
    }
    case TTag::Body:
        if (r.Drawing) paintBody(t);
        return TStep::Next;
    case TTag::ListItem:
        return listItem(r);
    case TTag::Img:
        return image(t, r);
    case TTag::Control:
        return control(t, r);
    default:
        return TStep::Next;
    }
}

void TRenderer::linkOpen(const TToken& t, TLineRun& r) {
    ++s.LinkCount;
    const bool styled = !in.HoverOnly || s.LinkCount == in.HoverLink;
    if (s.LinkCount - 1 == in.FocusLink) {
        s.FocusOpen = true;
        s.FocusStartX = r.X();
    }
    if (r.Drawing && styled) {
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
    s.LinkStartX = r.X();
    s.LinkStartLine = lineNo;
    if (s.LinkCount - 1 == in.FocusLink) out.FocusTarget = t.Target;
}

void TRenderer::linkClose(TLineRun& r) {
    const bool styled = !in.HoverOnly || s.LinkCount == in.HoverLink;
    if (r.Drawing && styled) {
        s.Font.Style &= ~TFontStyles(fsUnderline);
        if (in.HoverBackColor != clNone) s.Bk = s.SavedHoverBg;
    }
    if (!in.Selected) s.Font.Color = base.Color;
    if (s.InLink && out.HitLink == -2 && !r.Measuring) {
        out.HitLinkRect = {s.LinkStartLine == lineNo ? s.LinkStartX : r.Box.Left, r.Box.Top, r.X(), r.Box.Bottom};
        out.HitLink = s.LinkCount;
    }
    s.InLink = false;
    if (s.FocusOpen && s.LinkCount - 1 == in.FocusLink) {
        s.FocusOpen = false;
        if (r.Drawing) paintFocus(r);
    }
}

void TRenderer::para(const TToken& t, const TLineRun& r) {
    std::string_view a = t.AttrUpper("ALIGN");
    if (a.find("RIGHT") != std::string_view::npos) s.Align = 1;
    if (a.find("LEFT") != std::string_view::npos) s.Align = 0;
    if (a.find("CENTER") != std::string_view::npos) s.Align = 2;
    bool found = false;
    std::string_view ind = HTMLAttribute(t.Upper, "INDENT", &found);
    if (found) s.Indent = HTMLReadInt(ind);
    std::string_view bg = HTMLAttribute(t.Upper, "BGCOLOR", &found);
    if (found && r.Drawing) {
        s.ParaBg = true;
        s.SavedParaBg = s.Bk;
        s.Bk = HTMLColor(bg);
        fill({in.Rect.Left, r.Box.Top, in.Rect.Right, r.Box.Top + r.H}, s.Bk);
    }
}

TStep TRenderer::listItem(TLineRun& r) {
    // A second item on the line starts the next line.
    if (r.ItemOnLine) return TStep::EndBefore;
    r.ItemOnLine = true;
    if (r.Drawing) {
        applyFont(s.Font);
        c.SetBkMode(TRANSPARENT);
        const int x = r.X() + 12 * std::max(0, s.ListLevel - 1);
        const char* bullet = s.ListLevel % 2 ? "\xE2\x80\xA2" : "o";
        c.TextOut(x, r.Pen.Bottom - r.Shift - c.TextMetrics().Height, bullet);
    }
    r.W += 12 * s.ListLevel;
    return TStep::Next;
}

TStep TRenderer::image(const TToken& t, TLineRun& r) {
    std::string_view src = t.Attr("SRC");
    std::string_view alt = t.Attr("ALT");
    bool cw = false, ch = false;
    const int aw = HTMLReadInt(t.AttrUpper("WIDTH"), &cw);
    const int ah = HTMLReadInt(t.AttrUpper("HEIGHT"), &ch);
    const bool sized = aw >= 1 && ah >= 1;
    TPictureRef p = resolve(src);
    const bool any = p.List || p.Picture || !p.Icon.isNull();
    const int w = any ? (sized ? aw : p.W) : 0;
    const int h = any ? (sized ? ah : p.H) : 0;
    if (r.Measuring && r.W + w > r.BoxW && w < r.BoxW && r.W > 0) return TStep::EndBefore;
    ++s.Pictures;
    const int x = r.X();
    const int y = r.Pen.Top;
    const bool over = in.Point.X > x && in.Point.X < x + w && in.Point.Y > y && in.Point.Y < y + h;
    if (!r.Measuring && over && s.InLink) {
        out.Hit = true;
        out.HitTarget = *s.Link;
        out.HitLink = -2;
    }
    if (r.Drawing && w > 0) {
        TPictureRef shown = p;
        if (over && !alt.empty()) {
            TPictureRef a = resolve(alt);
            if (a.List || a.Picture || !a.Icon.isNull()) shown = a;
        }
        drawPicture(shown, x, y, w, h, sized);
    }
    r.W += w;
    if (r.Measuring) {
        r.H = std::max(r.H, h);
        std::string_view align = t.AttrUpper("ALIGN");
        if (t.Upper.find("\"TOP") != std::string::npos || align == "TOP")
            r.Shift = r.H - gh();
        else if (t.Upper.find("\"MIDDLE") != std::string::npos || align == "MIDDLE")
            r.Shift = (r.H - gh()) / 2;
    }
    return TStep::Next;
}

TStep TRenderer::control(const TToken& t, TLineRun& r) {
    if (!in.Controls) return TStep::Next;
    THTMLControlTag ct = ParseHTMLControlTag(t.Text);
    if (ct.Width.empty()) return TStep::Next;
    bool clean = false;
    int cw = HTMLReadInt(ct.Width, &clean);
    if (!clean || cw <= 0 || cw > 10000) cw = HTMLControlDefaultWidth;
    applyFont(s.Font);
    int bw = cw, bh = c.TextMetrics().Height + 6;
    if (ct.Type == "COMBO") bh = 25;
    if (ct.Type == "BUTTON") bh = 24;
    if (ct.Type == "CHECK" || ct.Type == "RADIO") bw = bh = 16;
    if (r.Measuring && r.W + bw > r.BoxW && bw < r.BoxW && r.W > 0) return TStep::EndBefore;
    const int x = r.X();
    const int top = r.Pen.Top;
    if (!r.Measuring && in.Point.X > x && in.Point.X < x + bw && in.Point.Y > top && in.Point.Y < top + bh) {
        out.Hit = true;
        out.HitTarget = "ctrl";
        out.ControlRect = {x, top, x + bw, top + bh};
        out.ControlID = ct.ID;
        out.ControlValue = ct.Value;
        out.ControlType = ct.Type;
    }
    if (r.Drawing) paintControl(ct, r, x, cw, bw, bh);
    r.W += bw;
    if (r.Measuring) r.H = std::max(r.H, bh);
    return TStep::Next;
}

// ---------------------------------------------------------------------------
// Tag state

bool TRenderer::applyStyleTag(const TToken& t, bool drawing) {
    switch (t.Tag) {
    case TTag::BoldOn:
        s.Font.Style |= fsBold;
        return true;
    case TTag::BoldOff:
        s.Font.Style &= ~TFontStyles(fsBold);
        return true;
    case TTag::ItalicOn:
        s.Font.Style |= fsItalic;
        return true;
    case TTag::ItalicOff:
        s.Font.Style &= ~TFontStyles(fsItalic);
        return true;
    case TTag::StrikeOn:
        s.Font.Style |= fsStrikeOut;
        return true;
    case TTag::StrikeOff:
        s.Font.Style &= ~TFontStyles(fsStrikeOut);
        return true;
    case TTag::UnderOn:
        s.Font.Style |= fsUnderline;
        return true;
    case TTag::UnderOff:
        s.Font.Style &= ~TFontStyles(fsUnderline);
        return true;
    case TTag::ListOpen:
        ++s.ListLevel;
        return true;
    case TTag::ListClose:
        if (s.ListLevel > 0)
            --s.ListLevel;
        else
            s.Font.Style &= ~TFontStyles(fsUnderline);
        return true;
    case TTag::BlinkOn:
        if (!in.BlinkPhase) s.Font.Color = entryBk;
        return true;
    case TTag::ColorBase:
        s.Font.Color = base.Color;
        return true;
    case TTag::ErrorOn:
        s.Error = drawing;
        return true;
    case TTag::ErrorOff:
        s.Error = false;
        return true;
    case TTag::HiddenOn:
        s.Hidden = true;
        return true;
    case TTag::HiddenOff:
        s.Hidden = false;
        return true;
    case TTag::ShadowOn:
        s.Shadow = true;
        return true;
    case TTag::ShadowOff:
        s.Shadow = false;
        return true;
    case TTag::SubOn:
        s.Sub = true;
        return true;
    case TTag::SupOn:
        s.Sup = true;
        return true;
    case TTag::SubSupOff:
        s.Sub = s.Sup = false;
        return true;
    case TTag::HiOn:
        if (drawing) {
            s.SavedHiColor = s.Font.Color;
            s.SavedHiBg = s.Bk;
            s.Bk = clHighlight;
            s.Font.Color = clHighlightText;
        }
        return true;
    case TTag::HiOff:
        if (drawing) {
            s.Font.Color = s.SavedHiColor;
            s.Bk = s.SavedHiBg;
        }
        return true;
    case TTag::Font:
        fontTag(t, drawing);
        return true;
    case TTag::FontClose:
        s.Font.Name = base.Name;
        s.Font.Height = base.Height;
        if (drawing && !in.Selected) {
            s.Font.Color = base.Color;
            s.Bk = s.SavedFontBg;
        }
        return true;
    case TTag::Rotate:
        s.SavedOrientation = s.Font.Orientation;
        s.Font.Orientation = (HTMLReadInt(t.QuotedAfterLetter('A')) % 360) * 10;
        return true;
    case TTag::RotateClose:
        s.Font.Orientation = s.SavedOrientation;
        return true;
    default:
        return false;
    }
}

void TRenderer::fontTag(const TToken& t, bool drawing) {
    bool found = false;
    std::string_view face = t.Attr("FACE");
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
}

// ---------------------------------------------------------------------------
// Painters

void TRenderer::paintRun(const TToken& t, const TLineRun& r, int x, int w, int h) {
    int bottom = r.Pen.Bottom - r.Shift;
    if (s.Sup) bottom -= r.SupRoom;
    if (s.Sub) bottom += r.SubRoom;
    const bool clip = !in.WordWrap && x + w > r.Box.Right;
    auto textOut = [&](int dx, TColor color) {
        const TColor keep = s.Font.Color;
        if (color != clNone) {
            c.Font().SetColor(color);
            c.SetBkMode(TRANSPARENT);
        }
        if (clip) {
            TRect tr{x + dx, bottom - h + dx, r.Box.Right + dx, bottom + dx};
            c.DrawText(t.Text, tr, DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_EXPANDTABS | DT_END_ELLIPSIS);
        } else {
            c.TextOut(x + dx, bottom - h + dx, t.Text);
        }
        c.Font().SetColor(keep);
    };
    if (s.Shadow) textOut(in.ShadowOffset, in.ShadowColor);
    applyBk();
    textOut(0, clNone);
    if (s.Error) {
        // A red zigzag under the run.
        c.Pen().SetColor(clRed);
        c.Pen().SetWidth(1);
        std::vector<TPoint> pts;
        const int right = std::min(x + w, r.Box.Right);
        for (int px = (x / 2) * 2; px <= right; px += 2) pts.push_back({px, r.Pen.Bottom + ((px % 4 == 0) ? 1 : -1)});
        if (pts.size() > 1) c.Polyline(pts);
    }
}

void TRenderer::paintBody(const TToken& t) {
    std::string_view bgPic = t.Attr("BACKGROUND");
    if (!bgPic.empty()) {
        TPictureRef p = resolve(bgPic);
        if (p.Picture && p.W > 0 && p.H > 0) {
            c.PushClipRect(in.Rect);
            for (int y = in.Rect.Top; y < in.Rect.Bottom; y += p.H)
                for (int x = in.Rect.Left; x < in.Rect.Right; x += p.W) p.Picture->Draw(c, {x, y, x + p.W, y + p.H});
            c.PopClip();
        }
    }
    std::string_view bg = t.AttrUpper("BGCOLOR");
    if (bg.find("CL") != std::string_view::npos || bg.find('#') != std::string_view::npos) {
        const TColor color = bg.find("CL") != std::string_view::npos ? HTMLColorByName(bg) : HTMLHexColor(bg);
        fill(in.Rect, color);
        s.Bk = color;
    }
}

void TRenderer::paintRule(const TLineRun& r) {
    c.Pen().SetColor(clBlack);
    c.Pen().SetWidth(1);
    c.MoveTo(r.Box.Left, r.Pen.Bottom + 1);
    c.LineTo(r.Box.Right, r.Pen.Bottom + 1);
}

void TRenderer::paintFocus(const TLineRun& r) {
    const int bottom = r.Pen.Bottom - r.Shift;
    c.DrawFocusRect({s.FocusStartX - 1, bottom - gh(), r.X() + 1, bottom});
}

void TRenderer::paintControl(const THTMLControlTag& ct, const TLineRun& r, int x, int cw, int bw, int bh) {
    const int F = r.Pen.Bottom, H = r.H;
    const bool hot = in.Point.X > x - 2 && in.Point.X < x + bw - 2 && in.Point.Y > F - bh - 2 && in.Point.Y < F - 2;
    const TThemeState state = hot && in.MouseDown ? TThemeState::Pressed : hot ? TThemeState::Hot : TThemeState::Normal;
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
        DrawThemedCheckBox(c, {x + 2, F - 15, x + 15, F}, checked ? TCheckState::Checked : TCheckState::Unchecked,
                           TThemeState::Normal);
    } else if (ct.Type == "RADIO") {
        DrawThemedRadioButton(c, {x + 2, F - 14, x + 14, F}, checked, state);
    } else if (ct.Type == "BUTTON") {
        const TRect br{x + 2, F - 20, x + cw - 2, F};
        DrawThemedPushButton(c, br, state);
        TRect tr{br.Left + 2, br.Top + 2, br.Right - 2, br.Bottom - 2};
        applyFont(s.Font);
        c.DrawText(ct.Value, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
    c.Brush().SetStyle(bsClear);
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

    toks = TokenizeMarkup(text, in.WordWrap);
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
