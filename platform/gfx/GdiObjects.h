#pragma once
// Pen, brush and font: plain value objects with change notification. A
// canvas owns one of each; assigning to them changes what it draws with.
#include "platform/gfx/Color.h"

#include <cstdint>
#include <functional>
#include <string>

namespace cb::gfx {

class TBitmap;
class TCanvas;
struct TFontCacheEntry;

// Common part: OnChange fires after every effective change (a setter called
// with the value already held fires nothing). Revision() grows with each
// change so a canvas can tell cheaply whether its device state is stale.
class TGraphicsObject {
public:
    TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;
    virtual ~TGraphicsObject() = default;

    std::function<void(TGraphicsObject& sender)> OnChange;
    std::uint32_t Revision() const { return fRevision; }

    // Changes made between BeginUpdate and EndUpdate notify once, at the end.
    void BeginUpdate() { ++fUpdateCount; }
    void EndUpdate();

protected:
    virtual void Changed();

private:
    friend class TCanvas;
    std::uint32_t fRevision = 1;
    int fUpdateCount = 0;
    bool fPendingChange = false;
    TCanvas* fOwnerCanvas = nullptr; // set for the objects a canvas owns
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psAlternate };

// Raster operations of a pen (and of fills drawn while it is selected).
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// Line ends and joins of pens wider than 1 pixel.
enum TPenEndStyle { esRound, esSquare, esFlat };

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TColor Color() const { return fColor; }
    void SetColor(TColor c);
    int Width() const { return fWidth; }
    // Width 0 is the device's thinnest line: one device pixel however the
    // painter is scaled (the same as width 1 at 96 dpi). Negative values
    // become 1.
    void SetWidth(int w);
    TPenStyle Style() const { return fStyle; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return fMode; }
    void SetMode(TPenMode m);
    TPenEndStyle EndStyle() const { return fEndStyle; }
    void SetEndStyle(TPenEndStyle e);

    // Copies every setting of another pen (one notification).
    virtual void Assign(const TPen& source);

private:
    TColor fColor = clBlack;
    int fWidth = 1;
    TPenStyle fStyle = psSolid;
    TPenMode fMode = pmCopy;
    TPenEndStyle fEndStyle = esRound;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TColor Color() const { return fColor; }
    void SetColor(TColor c); // a solid colour also sets the style to solid when it was clear
    TBrushStyle Style() const { return fStyle; }
    void SetStyle(TBrushStyle s);
    // Pattern bitmap, tiled from the device origin; not owned, the caller
    // keeps it alive while it is set (nullptr: no pattern).
    TBitmap* Bitmap() const { return fBitmap; }
    void SetBitmap(TBitmap* b);

    virtual void Assign(const TBrush& source);

private:
    TColor fColor = clWhite;
    TBrushStyle fStyle = bsSolid;
    TBitmap* fBitmap = nullptr;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned; // a set of TFontStyle bits

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// Font: size in points at PixelsPerInch (96 unless changed) or height in
// pixels; a negative height is the character (em) height, a positive one the
// cell height including internal leading, as on the original platform.
class TFont : public TGraphicsObject {
public:
    TFont();
    const std::string& Name() const { return fName; }
    void SetName(const std::string& name);
    int Size() const;        // points, rounded
    void SetSize(int points);
    int Height() const { return fHeight; }
    void SetHeight(int pixels);
    int PixelsPerInch() const { return fPixelsPerInch; }
    void SetPixelsPerInch(int ppi); // keeps the height
    TFontStyles Style() const { return fStyle; }
    void SetStyle(TFontStyles s);
    bool Bold() const { return fStyle & fsBold; }
    bool Italic() const { return fStyle & fsItalic; }
    bool Underline() const { return fStyle & fsUnderline; }
    bool StrikeOut() const { return fStyle & fsStrikeOut; }
    TColor Color() const { return fColor; }
    void SetColor(TColor c);
    // Escapement of text, tenths of degrees counter-clockwise.
    int Orientation() const { return fOrientation; }
    void SetOrientation(int tenths);
    int Charset() const { return fCharset; } // kept, not used
    void SetCharset(int cs);
    TFontPitch Pitch() const { return fPitch; }
    void SetPitch(TFontPitch p);

    virtual void Assign(const TFont& source);

    // The installed face this font's name resolves to (e.g. "Liberation Sans"
    // for "Arial").
    std::string ResolvedFamily() const;

    // Internal: the shared cache entry (QFont and metrics) for the current
    // settings; rebuilt lazily after a change.
    const TFontCacheEntry& CacheEntry() const;

protected:
    void Changed() override;

private:
    std::string fName = "Tahoma";
    int fHeight = -11; // 8 points at 96 ppi
    int fPixelsPerInch = 96;
    TFontStyles fStyle = 0;
    TColor fColor = clWindowText;
    int fOrientation = 0;
    int fCharset = 1;
    TFontPitch fPitch = fpDefault;
    mutable const TFontCacheEntry* fEntry = nullptr;
};

// Maps a font name to an installed family: the name itself when installed,
// else a metric-compatible substitute ("Arial" -> "Liberation Sans", ...).
std::string ResolveFontFamily(const std::string& name);

// The default face name new fonts get ("Tahoma"); set at start-up by the
// application when it wants another one.
void SetDefaultFontName(const std::string& name);
const std::string& DefaultFontName();

} // namespace cb::gfx
