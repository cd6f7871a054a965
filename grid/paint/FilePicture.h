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
    // Every setting Assign copies.
    struct TSettings {
        std::string Filename;
        int Width = 0;
        int Height = 0;
        bool operator==(const TSettings&) const = default;
    };

    const std::string& Filename() const { return FSettings.Filename; }
    // Loads the file once to learn its size; a file that cannot be read
    // raises cb::rtl::EInOutError.
    void SetFilename(const std::string& name);
    int Width() const { return FSettings.Width; }
    int Height() const { return FSettings.Height; }
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TFilePicture& source);
    void DrawStretched(cb::gfx::TCanvas& canvas, const TRect& rect) const;

private:
    TSettings FSettings;
};

}  // namespace cb::grid
