#pragma once
#include "grid/util/GridTypes.h"

#include <string>

namespace cb::gfx {
class TCanvas;
}

namespace cb::grid {

// A picture referenced by its file name, loaded whenever it is needed.
class TFilePicture {
public:
    const std::string& Filename() const { return FFilename; }
    // Loads the file once to learn its size; a file that cannot be read
    // raises cb::rtl::EInOutError.
    void SetFilename(const std::string& name);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void Assign(const TFilePicture& source);
    void DrawStretched(cb::gfx::TCanvas& canvas, const TRect& rect) const;

private:
    std::string FFilename;
    int FWidth = 0;
    int FHeight = 0;
};

}  // namespace cb::grid
