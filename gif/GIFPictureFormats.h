#pragma once
// Where the two GIF image classes meet the picture machinery: the file
// extension "gif" and the clipboard formats, with one defined precedence.
//
// Files: the extension "gif" opens with the display class (TKitGIFImage,
// "CompuServe GIF Image": frames decoded on first use), then with the
// block codec (TGIFImage, "GIF Image").
// Clipboard: both classes read, in this order, the private "GIF Image"
// type (a 32-bit length, checked against the data, then the file), the
// plain GIF type (the file as it is) and a bitmap. The display class
// writes the private type, the block codec the plain one; both add a bitmap.
#include "platform/gfx/Bitmap.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMimeData;

namespace cb::gif {

class TGIFImage;

struct TGIFPictureFormat {
    std::string Extension;    // without the dot, lower case
    std::string Description;  // for file dialogs
    std::function<std::unique_ptr<cb::gfx::TGraphic>()> Create;
};

// The formats in order of precedence.
const std::vector<TGIFPictureFormat>& GIFPictureFormats();
// The first format for the file's extension (case-insensitive), or null.
const TGIFPictureFormat* GIFPictureFormatForFile(const std::string& fileName);

// The block codec's clipboard data.
void SaveToMimeData(TGIFImage& image, QMimeData& mime);
void LoadFromMimeData(TGIFImage& image, const QMimeData& mime);

}  // namespace cb::gif
