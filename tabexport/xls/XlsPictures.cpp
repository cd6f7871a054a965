#include "tabexport/xls/XlsPictures.h"

#include "platform/rtl/Strings.h"
#include "tabexport/core/TabExportTypes.h"

namespace cb::tabexport {

int TxlsGraphic::KindOfFile(const std::string& Name) {
    std::string ext = cb::rtl::UpperCase(cb::rtl::Trim(cb::rtl::ExtractFileExt(Name)));
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    if (ext == "WMF") return 1;
    if (ext == "EMF") return 2;
    if (ext == "JPG" || ext == "JPEG") return 3;
    if (ext == "PNG") return 4;
    if (ext == "GIF") return 5;
    if (ext == "BMP" || ext == "QBMP") return 6;
    if (ext == "ICO") return 7;
    return 0;
}

void TxlsGraphic::SetFileName(const std::string& Name) {
    if (Name == FFileName) return;
    FFileName = Name;
    FKind = KindOfFile(Name);
}

void TxlsGraphic::Assign(const TxlsGraphic& Source) {
    FFileName = Source.FFileName;
    FKind = Source.FKind;
    FData = Source.FData;
}

void TxlsPicture::SetName(const std::string& Name) {
    if (Name.empty()) throw ETabExportError("A picture name cannot be empty");
    if (FOwner) {
        int i = FOwner->IndexOf(Name);
        if (i >= 0 && &FOwner->GetItem(i) != this) throw ETabExportError("A picture " + Name + " already exists");
    }
    FName = Name;
}

TxlsPicture& TxlsPictures::Add() {
    int n = 0;
    while (IndexOf("Picture_" + std::to_string(n)) >= 0) ++n;
    auto p = std::make_unique<TxlsPicture>(this);
    p->FName = "Picture_" + std::to_string(n);
    FItems.push_back(std::move(p));
    return *FItems.back();
}

int TxlsPictures::IndexOf(const std::string& Name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (cb::rtl::SameText(FItems[i]->Name(), Name)) return int(i);
    return -1;
}

TxlsImage& TxlsImages::Add() {
    int n = 0;
    while (IndexOfTitle("Image_" + std::to_string(n)) >= 0) ++n;
    FItems.push_back(TxlsImage{});
    FItems.back().Title = "Image_" + std::to_string(n);
    return FItems.back();
}

int TxlsImages::IndexOfTitle(const std::string& Title) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (cb::rtl::SameText(FItems[i].Title, Title)) return int(i);
    return -1;
}

}  // namespace cb::tabexport
