#pragma once
// Fonts and pictures for the style editors: the font dialog on a chart
// font, choosing and reading a picture file, the back image's toggle.
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace cb::gfx {
class TBitmap;
class TFont;
}  // namespace cb::gfx
namespace cb::chart {
class TBackImage;
}

namespace cb::charteditors {

// The font dialog, owned by the form, on a copy of the font; on OK the
// chosen name, size and style are written to the font. True on OK.
bool EditFont(QWidget* form, cb::gfx::TFont& font);

// The open-picture dialog owned by the form; empty when cancelled.
std::string ChoosePictureFile(QWidget* form);
// Replaces the file dialog (tests): gets the form, answers a file name.
using TPictureFileChooser = std::function<std::string(QWidget* form)>;
void SetPictureFileChooser(TPictureFileChooser chooser);

// Reads any picture file (bitmap, PNG, JPEG, GIF, icon...) into a bitmap of
// the same width and height. A missing, unreadable or oversized file throws
// cb::rtl::EInOutError naming the file.
std::unique_ptr<cb::gfx::TBitmap> LoadPictureBitmap(const std::string& fileName);

// A picture that holds one is cleared; otherwise a chosen file is loaded
// into it (nothing when the choice is cancelled). A file that cannot be read
// is reported and the picture stays as it was.
void ToggleBackImage(QWidget* form, cb::chart::TBackImage& picture);

// Reports a picture that could not be read (tests replace the box).
void ShowPictureError(QWidget* form, const std::string& message);
using TPictureErrorSink = std::function<void(const std::string& message)>;
void SetPictureErrorSink(TPictureErrorSink sink);

}  // namespace cb::charteditors
