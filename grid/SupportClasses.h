#pragma once
// Small classes the grid uses in several places: an integer list tied to a
// cell with a change callback, the sort index list, a picture known only by
// its file name, the base of cell checkers, the column-move arrows and the
// caption that follows a dragged column.
#include "grid/GridTypes.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace cb::gfx {
class TCanvas;
}

namespace cb::grid {

class TIntList {
public:
    TIntList(int col = 0, int row = 0) : CellCol(col), CellRow(row) {}
    virtual ~TIntList() = default;

    int CellCol;
    int CellRow;
    std::function<void(TIntList& list, int col, int row)> OnChange;

    int Count() const { return int(FItems.size()); }
    int Item(int index) const { return FItems.at(size_t(index)); }
    void SetItem(int index, int value);
    void AddValue(int value);
    void DeleteValue(int index);
    void InsertValue(int index, int value);
    void Clear() { FItems.clear(); }
    int IndexOf(int value) const;
    std::string ToCommaText() const;
    // Items that are not integers raise cb::rtl::EConvertError; the ones
    // before stay.
    void FromCommaText(const std::string& text);
    const std::vector<int>& Items() const { return FItems; }

protected:
    void Changed();
    std::vector<int> FItems;
};

// Column numbers; bit 31 marks a descending entry.
class TSortIndexList : public TIntList {
public:
    static constexpr unsigned kDescending = 0x80000000u;
    static int Column(int entry) { return int(unsigned(entry) & ~kDescending); }
    static bool Descending(int entry) { return unsigned(entry) & kDescending; }
    // Position of a column in the list, -1 when absent.
    int FindColumn(int col) const;
};

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

// Base of cell checkers: the grid passes an edited text through Correct
// and MarkError when the flags ask for it.
class TExtStringGridCheck {
public:
    virtual ~TExtStringGridCheck() = default;
    bool AutoCorrect = false;
    bool AutoMarkError = false;
    bool GotoCell = false;
    bool UseCorrect = false;
    bool UseMarkError = false;
    virtual std::string MarkError(int col, int row, const std::string& text) {
        (void)col, (void)row;
        return text;
    }
    virtual std::string Correct(int col, int row, const std::string& text) {
        (void)col, (void)row;
        return text;
    }
    virtual void StartCheck() {}
    virtual void StopCheck() {}
};

// A small arrow-shaped pop-up marking drop and move positions.
class TArrowWindow : public QWidget {
public:
    TArrowWindow(QWidget* owner, int direction);
    int Dir() const { return FDir; }
    // The arrow's 7 points for a direction 0 (up), 1 (down), 2 (right), 3 (left).
    static std::vector<TPoint> ArrowPoints(int direction);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FDir;
};

// The caption that follows a column while it is dragged.
class TPopupButton : public QWidget {
public:
    explicit TPopupButton(QWidget* owner);
    std::string Caption;
    bool Flat = false;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace cb::grid
