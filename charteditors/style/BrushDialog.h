#pragma once
// The brush dialog ("Pattern Color Editor"): a hatch style, one of twelve
// small patterns or seven textures, the colour, or a picture file of the
// user's. It edits the brush live; Cancel gives back the brush as it was
// when the dialog opened.
#include "charteditors/common/EditorForm.h"

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace cb::gfx {
class TBitmap;
}
namespace cb::chart {
class TChartBrush;
}

namespace cb::charteditors {

class TColorButton;

// The list's entries: 8 hatch styles, then 12 patterns, then 7 textures.
constexpr int BrushStyleEntries = 8;
constexpr int BrushPatternEntries = 12;
constexpr int BrushTextureEntries = 7;
constexpr int BrushListEntries = BrushStyleEntries + BrushPatternEntries + BrushTextureEntries;

// The picture of pattern (0 .. 11: 16 x 16, black on white, white
// transparent) or texture (12 .. 18) number index; none out of range.
std::unique_ptr<cb::gfx::TBitmap> MakeBrushBitmap(int index);

class TBrushDialog : public TEditorForm {
    Q_OBJECT
public:
    explicit TBrushDialog(QWidget* owner = nullptr);

    QListWidget* LStyle;
    TColorButton* BColor;
    QLabel* Image1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

    cb::chart::TChartBrush* Brush() const;

protected:
    void FormShow() override;

private:
    void StyleClicked(int row);
    void ImageClicked();
    void UpdateImageButton();
    void UpdateColorButton();
    void SelectStyleEntry();
};

// Opens the brush dialog near the form on a TChartBrush; True on OK.
bool EditChartBrush(QWidget* form, const TEditedObject& brush);

}  // namespace cb::charteditors
