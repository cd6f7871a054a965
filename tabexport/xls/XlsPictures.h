#pragma once
// Pictures of a workbook and their placements on a sheet.
#include <memory>
#include <string>
#include <vector>

namespace cb::tabexport {

// A picture file, or picture bytes held in memory.
class TxlsGraphic {
public:
    virtual ~TxlsGraphic() = default;
    const std::string& FileName() const { return FFileName; }
    // Also sets the kind from the extension.
    void SetFileName(const std::string& Name);
    // 1 WMF, 2 EMF, 3 JPEG, 4 PNG, 5 GIF, 6 BMP, 7 ICO, 0 other.
    int Kind() const { return FKind; }
    static int KindOfFile(const std::string& Name);
    // Picture bytes in memory (a JPEG, PNG, BMP or GIF file's contents);
    // used in place of the file when not empty.
    const std::string& Data() const { return FData; }
    void SetData(std::string Bytes) { FData = std::move(Bytes); }
    void Assign(const TxlsGraphic& Source);

private:
    std::string FFileName;
    int FKind = 0;
    std::string FData;
};

class TxlsPictures;

class TxlsPicture : public TxlsGraphic {
public:
    explicit TxlsPicture(TxlsPictures* Owner) : FOwner(Owner) {}
    const std::string& Name() const { return FName; }
    // Throws for an empty name or one another picture has.
    void SetName(const std::string& Name);

private:
    friend class TxlsPictures;
    TxlsPictures* FOwner;
    std::string FName;
};

class TxlsPictures {
public:
    // A new picture named "Picture_<n>" with the smallest free n.
    TxlsPicture& Add();
    TxlsPicture& GetItem(int Index) const { return *FItems.at(size_t(Index)); }
    int Count() const { return int(FItems.size()); }
    void Clear() { FItems.clear(); }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
    // Position of the picture of that name (case ignored), -1 when none.
    int IndexOf(const std::string& Name) const;

private:
    std::vector<std::unique_ptr<TxlsPicture>> FItems;
};

struct TxlsImage {
    int Col = 0;  // 0-based top-left cell
    int Row = 0;
    std::string PictureName;
    std::string Title;
    int Zoom = 100;  // percent
};

class TxlsImages {
public:
    // A new image titled "Image_<n>" with the smallest free n.
    TxlsImage& Add();
    TxlsImage& GetItem(int Index) { return FItems.at(size_t(Index)); }
    const TxlsImage& GetItem(int Index) const { return FItems.at(size_t(Index)); }
    int Count() const { return int(FItems.size()); }
    void Clear() { FItems.clear(); }
    int IndexOfTitle(const std::string& Title) const;

private:
    std::vector<TxlsImage> FItems;
};

}  // namespace cb::tabexport
