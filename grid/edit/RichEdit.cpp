#include "grid/edit/RichEdit.h"

#include "grid/ExtStringGrid.h"
#include "grid/edit/GridEditPart.h"
#include "grid/markup/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>

#include <cmath>

namespace cb::grid {

TExtRichEdit::TExtRichEdit(TExtStringGrid& grid) : QTextEdit(&grid), FGrid(grid) {
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setAcceptRichText(false);
    document()->setDocumentMargin(2);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this](const QSizeF& size) { ContentResized(size); });
    hide();
}

void TExtRichEdit::ContentResized(const QSizeF& size) {
    FReqWidth = int(std::ceil(size.width()));
    FReqHeight = int(std::ceil(size.height()));
    if (FLocked || !FGrid.SizeWhileTyping.Height || !isVisible()) return;
    const int row = FGrid.Row();
    if (row < 0) return;
    const int h = FReqHeight;
    const TRect cell = FGrid.CellRect(FGrid.Col(), row);
    if (FGrid.RowHeights(row) < h && cell.Top + h < FGrid.CellArea().Bottom) {
        resize(width(), h + 4);
        FGrid.SetRowHeights(row, h + 5);
        if (FGrid.OnEndRowSize) FGrid.OnEndRowSize(&FGrid, row);
    }
}

namespace {

class TRichEditor : public TCellEditor {
public:
    explicit TRichEditor(TGridEditPart& part) : FPart(part), FEdit(new TExtRichEdit(part.Grid())) {}
    ~TRichEditor() override { delete FEdit; }
    QWidget* Widget() override { return FEdit; }
    QWidget* FocusWidget() override { return FEdit; }
    TEditorFamily Family() const override { return TEditorFamily::RichEdit; }
    void Fill(TEditorType, const std::string&) override {
        TExtStringGrid& g = FPart.Grid();
        FEdit->LockSize();
        FEdit->document()->setDefaultFont(RichTextFont(g.Font()));
        Reset(g.GetCurrentCellText());
    }
    std::optional<std::string> Value() override {
        if (FEdit->document()->isEmpty()) return std::string();
        return WriteRichText(*FEdit->document());
    }
    void Reset(const std::string& text) override {
        if (text.empty()) FEdit->clear();
        else if (IsRichText(text)) ReadRichText(text, *FEdit->document());
        else FEdit->setPlainText(QString::fromStdString(text));
    }
    void Shown() override {
        FEdit->moveCursor(QTextCursor::End);
        FEdit->UnlockSize();
    }

private:
    TGridEditPart& FPart;
    TExtRichEdit* FEdit;  // owned here
};

}  // namespace

std::unique_ptr<TCellEditor> MakeRichEditor(TGridEditPart& part) {
    return std::make_unique<TRichEditor>(part);
}

}  // namespace cb::grid
