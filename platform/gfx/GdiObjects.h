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
    std::uint32_t Revision() const { return FRevision; }

    // Changes made between BeginUpdate and EndUpdate notify once, at the end.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

protected:
    virtual void Changed();

private:
    friend class TCanvas;
    std::uint32_t FRevision = 1;
    int FUpdateCount = 0;
    bool FPendingChange = false;
    TCanvas* FOwnerCanvas = nullptr;  // set for the objects a canvas owns
};

enum TPenStyle {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psAlternate
};

// Raster operations of a pen (and of fills drawn while it is selected).
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

// Line ends and joins of pens wider than 1 pixel.
enum TPenEndStyle {
    esRound,
    esSquare,
    esFlat
};

class TPen : public TGraphicsObject {
public:
    // Every setting of a pen, copied whole by Assign.
    struct TSettings {
        TColor Color = clBlack;
        int Width = 1;
        TPenStyle Style = psSolid;
        TPenMode Mode = pmCopy;
        TPenEndStyle EndStyle = esRound;
        bool operator==(const TSettings&) const = default;
    };

    TPen() = default;
    TColor Color() const { return FSettings.Color; }
    void SetColor(TColor c);
    int Width() const { return FSettings.Width; }
    // Width 0 is the device's thinnest line: one device pixel however the
    // painter is scaled (the same as width 1 at 96 dpi). Negative values
    // become 1.
    void SetWidth(int w);
    TPenStyle Style() const { return FSettings.Style; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return FSettings.Mode; }
    void SetMode(TPenMode m);
    TPenEndStyle EndStyle() const { return FSettings.EndStyle; }
    void SetEndStyle(TPenEndStyle e);
    const TSettings& Settings() const { return FSettings; }

    // Copies every setting of another pen (one notification).
    virtual void Assign(const TPen& source);

private:
    TSettings FSettings;
};

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
public:
    // Every setting of a brush, copied whole by Assign.
    struct TSettings {
        TColor Color = clWhite;
        TBrushStyle Style = bsSolid;
        TBitmap* Bitmap = nullptr;  // not owned
        bool operator==(const TSettings&) const = default;
    };

    TBrush() = default;
    TColor Color() const { return FSettings.Color; }
    void SetColor(TColor c);  // a solid colour also sets the style to solid when it was clear
    TBrushStyle Style() const { return FSettings.Style; }
    void SetStyle(TBrushStyle s);
    // Pattern bitmap, tiled from the device origin; not owned, the caller
    // keeps it alive while it is set (nullptr: no pattern).
    TBitmap* Bitmap() const { return FSettings.Bitmap; }
    void SetBitmap(TBitmap* b);
    const TSettings& Settings() const { return FSettings; }

    virtual void Assign(const TBrush& source);

private:
    TSettings FSettings;
};

enum TFontStyle : unsigned {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8
};
using TFontStyles = unsigned;  // a set of TFontStyle bits

enum TFontPitch {
    fpDefault,
    fpVariable,
    fpFixed
};

// Font: size in points at PixelsPerInch (96 unless changed) or height in
// pixels; a negative height is the character (em) height, a positive one the
// cell height including internal leading.
class TFont : public TGraphicsObject {
public:
    // Every setting of a font, copied whole by Assign.
    struct TSettings {
        std::string Name = "Tahoma";
        int Height = -11;  // 8 points at 96 ppi
        int PixelsPerInch = 96;
        TFontStyles Style = 0;
        TColor Color = clWindowText;
        int Orientation = 0;
        int Charset = 1;
        TFontPitch Pitch = fpDefault;
        bool operator==(const TSettings&) const = default;
    };

    TFont();
    const std::string& Name() const { return FSettings.Name; }
    void SetName(const std::string& name);
    int Size() const;  // points, rounded
    void SetSize(int points);
    int Height() const { return FSettings.Height; }
    void SetHeight(int pixels);
    int PixelsPerInch() const { return FSettings.PixelsPerInch; }
    void SetPixelsPerInch(int ppi);  // keeps the height
    TFontStyles Style() const { return FSettings.Style; }
    void SetStyle(TFontStyles s);
    bool Bold() const { return FSettings.Style & fsBold; }
    bool Italic() const { return FSettings.Style & fsItalic; }
    bool Underline() const { return FSettings.Style & fsUnderline; }
    bool StrikeOut() const { return FSettings.Style & fsStrikeOut; }
    TColor Color() const { return FSettings.Color; }
    void SetColor(TColor c);
    // Escapement of text, tenths of degrees counter-clockwise.
    int Orientation() const { return FSettings.Orientation; }
    void SetOrientation(int tenths);
    int Charset() const { return FSettings.Charset; }  // kept, not used
    void SetCharset(int cs);
    TFontPitch Pitch() const { return FSettings.Pitch; }
    void SetPitch(TFontPitch p);

    const TSettings& Settings() const { return FSettings; }

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
    TSettings FSettings;
    mutable const TFontCacheEntry* FEntry = nullptr;
};

// Maps a font name to an installed family: the name itself when installed,
// else a metric-compatible substitute ("Arial" -> "Liberation Sans", ...).
std::string ResolveFontFamily(const std::string& name);

// The default face name new fonts get ("Tahoma"); set at start-up by the
// application when it wants another one.
void SetDefaultFontName(const std::string& name);
const std::string& DefaultFontName();

}  // namespace cb::gfx
