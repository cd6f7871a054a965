#pragma once
// The grid's hint window: a borderless pop-up that shows its text in the
// mark-up, sized to the text and kept on the screen.
#include "grid/markup/MarkupRenderer.h"
#include "platform/gfx/GdiObjects.h"

#include <QWidget>

#include <string>

namespace cb::grid {

class THTMLHintWindow : public QWidget {
public:
    explicit THTMLHintWindow(QWidget* parent = nullptr);
    ~THTMLHintWindow() override;

    // Widest hint; longer lines wrap at blanks.
    static constexpr int MaxHintWidth = 1008;

    // (0, 0, measured width, measured height) of the text wrapped in maxWidth.
    TRect CalcHintRect(int maxWidth, const std::string& hint);
    // Shows the hint with its top-left at rect's, sized to the text.
    void ActivateHint(const TRect& rect, const std::string& hint);
    // The window rectangle for a text of w x h at rect's top-left, moved
    // inside the screen rectangle (2 pixels off its right and bottom edges).
    static TRect PlaceHint(const TRect& rect, int w, int h, const TRect& screen);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& text);
    cb::gfx::TFont& Font() { return FFont; }
    // The background (the grid's HintColor).
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    THTMLRenderInput renderInput() const;
    std::string FCaption;
    TColor FColor = cb::gfx::clWindow;
    cb::gfx::TFont FFont;
    int FTextWidth = 0;
    int FTextHeight = 0;
};

}  // namespace cb::grid
