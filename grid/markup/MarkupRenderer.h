#pragma once
// The mark-up renderer: draws, measures and hit-tests a text in the small
// HTML-like mark-up language inside a rectangle of a canvas.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

#include <memory>
#include <string>
#include <string_view>

namespace cb::grid {

using cb::gfx::TCanvas;
using cb::gfx::TColor;
using cb::gfx::TPoint;
using cb::gfx::TRect;

class THTMLPictureCache;
class TPictureContainer;

// Pictures for "IDX:n" sources.
class THTMLImageList {
public:
    virtual ~THTMLImageList() = default;
    virtual int Count() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Draw(TCanvas& canvas, const TRect& r, int index) const = 0;
};

struct THTMLRenderInput {
    TRect Rect;
    const THTMLImageList* Images = nullptr;
    TPoint Point{-100000, -100000};
    int FocusLink = -1;  // 0-based
    int HoverLink = -1;  // 1-based
    int ShadowOffset = 1;
    bool HitTestOnly = false;
    bool MeasureOnly = false;
    bool Printing = false;
    bool Selected = false;
    bool BlinkPhase = true;
    bool HoverOnly = false;
    bool WordWrap = true;
    bool MouseDown = false;
    bool Controls = true;  // false: CONTROL tags are ignored (the label)
    double PrintScale = 1.0;
    TColor LinkColor = cb::gfx::clBlue;
    TColor HoverBackColor = cb::gfx::clNone;
    TColor HoverTextColor = cb::gfx::clNone;
    TColor ShadowColor = cb::gfx::clGray;
    THTMLPictureCache* Cache = nullptr;
    const TPictureContainer* Container = nullptr;
};

struct THTMLRenderResult {
    bool Hit = false;       // over a link's text, a picture in a link, or a control
    std::string HitTarget;  // link target, "ctrl" for a control
    std::string PlainText;  // text without tags, CR for each <BR>
    std::string FocusTarget;
    int Width = 0;
    int Height = 0;
    int LinkCount = 0;
    int HitLink = -1;  // 1-based
    TRect HitLinkRect;
    TRect ControlRect;
    std::string ControlID, ControlValue, ControlType;
};

// Never raises: a picture that cannot be decoded draws nothing.
bool RenderHTML(TCanvas& canvas, std::string_view text, const THTMLRenderInput& in, THTMLRenderResult& out);

// Width and height of a text laid out in a given width, remembered per text,
// font, width and wrapping.
class THTMLMeasureCache {
public:
    THTMLMeasureCache();
    ~THTMLMeasureCache();
    // (width, height) as RenderHTML measures them, with the picture sources
    // of pictures (may be null).
    TPoint Measure(TCanvas& canvas, const std::string& text, int width, bool wordWrap,
                   const THTMLRenderInput* pictures = nullptr);
    void Clear();
    size_t Size() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

}  // namespace cb::grid
