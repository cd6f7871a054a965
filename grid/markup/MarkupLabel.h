#pragma once
// TMarkupLabel: a label that shows mark-up text, with links that open web
// and mail addresses or raise an event, hover style, bevels and a border,
// vertical alignment, sizing to its content and link or full-text hints.
#include "grid/util/GridTypes.h"
#include "grid/markup/HTMLPicture.h"
#include "grid/markup/MarkupRenderer.h"
#include "platform/gfx/GdiObjects.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace cb::grid {

class THTMLHintWindow;

enum TAutoSizeType : std::uint8_t {
    asVertical,
    asHorizontal,
    asBoth
};
enum TBevelCut : std::uint8_t {
    bvNone,
    bvLowered,
    bvRaised,
    bvSpace
};
enum TLabelAlign : std::uint8_t {
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient
};

class TMarkupLabel : public QWidget {
public:
    explicit TMarkupLabel(QWidget* parent = nullptr);
    ~TMarkupLabel() override;

    // Line breaks in the given text are dropped: lines join without a blank.
    void SetHTMLText(const std::string& text);
    const std::string& HTMLText() const { return FText; }

    bool AnchorHint = false;
    bool HintShowFull = false;
    bool HTMLHint = false;
    TBevelCut BevelInner = bvNone, BevelOuter = bvNone;
    int BevelWidth = 1;
    int BorderWidth = 0;
    bool BorderSingle = false;
    TColor Color = cb::gfx::clBtnFace;
    TColor HoverColor = cb::gfx::clNone;
    TColor HoverFontColor = cb::gfx::clNone;
    TColor ShadowColor = cb::gfx::clGray;
    int ShadowOffset = 2;
    const THTMLImageList* Images = nullptr;               // not owned
    const TPictureContainer* PictureContainer = nullptr;  // not owned
    TLabelAlign Align = alNone;

    bool Hover() const { return FHover; }
    void SetHover(bool on);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool on);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor c);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    bool AutoSizing() const { return FAutoSizing; }
    void SetAutoSizing(bool on);
    TAutoSizeType AutoSizeType() const { return FAutoSizeType; }
    void SetAutoSizeType(TAutoSizeType t);
    cb::gfx::TFont& Font() { return FFont; }
    // Call after changing Font() or the frame settings.
    void Changed();

    // The link under a point (client coordinates): its target, or empty.
    std::string LinkAt(int x, int y, TRect* rect = nullptr, int* number = nullptr);
    int HoveredLink() const { return FHoveredLink; }
    THTMLPictureCache& PictureCache() { return FCache; }
    // The hint this label shows at a client point (empty: none).
    std::string HintText(int x, int y);

    std::function<void(TMarkupLabel*, const std::string& anchor)> OnAnchorClick;
    std::function<void(TMarkupLabel*, const std::string& anchor)> OnAnchorEnter;
    std::function<void(TMarkupLabel*, const std::string& anchor)> OnAnchorExit;
    std::function<void(TMarkupLabel*, std::string& anchor)> OnAnchorHint;
    std::function<void(TMarkupLabel*)> OnMouseEnter;
    std::function<void(TMarkupLabel*)> OnMouseLeave;
    std::function<void(TMarkupLabel*, int x, int y)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    bool event(QEvent*) override;

private:
    TRect textArea() const;
    THTMLRenderInput input(const TRect& area) const;
    TRect alignedArea(TCanvas& canvas, TRect area);
    void applyAutoSize();

    std::string FText;
    cb::gfx::TFont FFont;
    THTMLPictureCache FCache;
    bool FHover = false;
    bool FEllipsis = false;
    TColor FURLColor = cb::gfx::clBlue;
    TVAlignment FVAlignment = vtaTop;
    bool FAutoSizing = false;
    TAutoSizeType FAutoSizeType = asVertical;
    int FHoveredLink = -1;
    int FLastLink = -1;
    std::string FLastTarget;
    bool FHandCursor = false;
    std::unique_ptr<THTMLHintWindow> FHintWindow;
};

}  // namespace cb::grid
