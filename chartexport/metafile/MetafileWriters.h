#pragma once
// The two metafile formats as recorders: an enhanced metafile (EMF, 32-bit
// records) and a plain Windows metafile with its placeable header (WMF,
// 16-bit records, texts in 8 bits). Finish() closes the picture and
// returns the file's bytes.
#include "chartexport/metafile/MetafileRecorder.h"

#include <cstdint>
#include <optional>
#include <string>

namespace cb::chartexport {

class TEmfWriter : public TMetafileRecorder {
public:
    TEmfWriter(int Width, int Height);
    std::string Finish();

    void SetPen(const TMetaPen& Pen) override;
    void SetBrush(const TMetaBrush& Brush) override;
    void SetClip(const QRect* Rect) override;
    void Polygons(const std::vector<TMetaPolygon>& Polygons, bool Winding) override;
    void Polyline(const TMetaPolygon& Points) override;
    void Rectangle(const QRect& Rect) override;
    void Ellipse(const QRect& Rect) override;
    void Text(const QPoint& Origin, const QString& Text, const TMetaFont& Font, QRgb Color,
              const std::vector<int>& Advances) override;
    void Image(const QRect& Target, const QImage& Image) override;

private:
    void Record(std::uint32_t Type, const std::string& Body);
    void FillMode(bool Winding);
    std::string FData;
    int FRecords = 0;
    int FWidth, FHeight;
    std::optional<TMetaPen> FPen;
    std::optional<TMetaBrush> FBrush;
    std::optional<TMetaFont> FFont;
    std::optional<QRgb> FTextColor;
    std::optional<bool> FWinding;
};

class TWmfWriter : public TMetafileRecorder {
public:
    TWmfWriter(int Width, int Height);
    std::string Finish();

    void SetPen(const TMetaPen& Pen) override;
    void SetBrush(const TMetaBrush& Brush) override;
    void SetClip(const QRect* Rect) override;
    void Polygons(const std::vector<TMetaPolygon>& Polygons, bool Winding) override;
    void Polyline(const TMetaPolygon& Points) override;
    void Rectangle(const QRect& Rect) override;
    void Ellipse(const QRect& Rect) override;
    void Text(const QPoint& Origin, const QString& Text, const TMetaFont& Font, QRgb Color,
              const std::vector<int>& Advances) override;
    void Image(const QRect& Target, const QImage& Image) override;

private:
    // Slots of the object table: a new object takes the lowest free one.
    enum TKind {
        okPen,
        okBrush,
        okFont
    };
    void Record(std::uint16_t Function, const std::string& Params);
    void Replace(TKind Kind, std::uint16_t Function, const std::string& Params);
    void Reselect();
    void FillMode(bool Winding);
    std::string FData;
    std::uint32_t FMaxRecord = 0;
    int FSlots[3] = {-1, -1, -1};
    std::vector<bool> FUsed;
    std::optional<TMetaPen> FPen;
    std::optional<TMetaBrush> FBrush;
    std::optional<TMetaFont> FFont;
    std::optional<QRgb> FTextColor;
    std::optional<bool> FWinding;
    bool FClipped = false;
    int FWidth, FHeight;
};

}  // namespace cb::chartexport
