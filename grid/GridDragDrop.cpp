// TExtStringGrid: drag and drop. Drags of the application's own controls
// (by MIME type, decided by the owner), drops of text, rich text, files and
// grid columns where the grid enables them, and drags of cells and columns.
#include "grid/ExtStringGridPrivate.h"
#include "grid/input/GridInputState.h"
#include "grid/paint/PopupButton.h"

#include "platform/rtl/ScopeGuard.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

#include <algorithm>

namespace cb::grid {

namespace {

// Dropped data is untrusted: texts and rows beyond these are refused.
constexpr qsizetype MaxDropTextBytes = 16 * 1024 * 1024;
constexpr int MaxDropRows = 100000;
constexpr int MaxDropCols = 10000;

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> names;
    if (!data->hasUrls()) return names;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) names.push_back(url.toLocalFile().toStdString());
    return names;
}

// Lines of a dropped text (CR LF, LF or CR; a last line break ends the text).
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

std::string UpperExtension(const std::string& name) {
    return QFileInfo(QString::fromStdString(name)).suffix().toUpper().toStdString();
}

Qt::DropAction EffectFor(const QDropEvent* e) {
    const Qt::DropAction wanted = (e->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
    if (e->possibleActions() & wanted) return wanted;
    return e->proposedAction();
}

}  // namespace

// ---------------------------------------------------------------------------
// Drop target

bool TExtStringGrid::ControlDropAccepted(const QMimeData* data, int x, int y) {
    bool accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, data, x, y, accept);
    }
    return accept;
}

void TExtStringGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (OfferToParts([event](TGridPart& part) { return part.DragMove(*event); })) return;
    TGridInputState& in = FD->Input;
    const QMimeData* data = event->mimeData();
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    in.DropKind = dkNone;
    in.DropFlags = 0;
    in.DropAllowed = false;
    for (const std::string& type : AcceptedDragTypes)
        if (data->hasFormat(QString::fromStdString(type))) in.DropKind = dkControl;
    if (in.DropKind == dkControl) {
        // Accepted for the moves to come; each move and the drop ask again.
        event->accept();
        event->setDropAction(ControlDropAccepted(data, x, y) ? event->proposedAction() : Qt::IgnoreAction);
        return;
    }
    if (!DragDropSettings.OleDropTarget) {
        event->ignore();
        return;
    }
    const bool files = !LocalFiles(data).empty();
    if (data->hasFormat(GridColumnMimeType)) in.DropFlags |= dfColumn;
    if (files) in.DropFlags |= dfFiles;
    if (DragDropSettings.OleDropRTF && data->hasFormat(RichTextMimeType)) in.DropFlags |= dfRTF;
    // A file list also comes as the files' addresses in text: it is a file drop.
    if (data->hasText() && !files) in.DropFlags |= dfText;
    in.DropAllowed = ((in.DropFlags & dfText) && DragDropSettings.OleAcceptText) ||
                     ((in.DropFlags & dfFiles) && DragDropSettings.OleAcceptFiles) ||
                     ((in.DropFlags & dfRTF) && DragDropSettings.OleAcceptText) ||
                     ((in.DropFlags & dfColumn) && DragDropSettings.OleColumnDragDrop);
    if (!in.DropAllowed) {
        event->ignore();
        return;
    }
    in.DropKind = dkOle;
    event->accept();
    event->setDropAction(DragMouseMove(x, y, true) ? EffectFor(event) : Qt::IgnoreAction);
}

void TExtStringGrid::dragMoveEvent(QDragMoveEvent* event) {
    if (OfferToParts([event](TGridPart& part) { return part.DragMove(*event); })) return;
    TGridInputState& in = FD->Input;
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    bool allow = false;
    Qt::DropAction action = event->proposedAction();
    if (in.DropKind == dkControl) {
        allow = ControlDropAccepted(event->mimeData(), x, y);
    } else if (in.DropKind == dkOle && in.DropAllowed) {
        allow = DragMouseMove(x, y, true);
        action = EffectFor(event);
    }
    if (allow) {
        event->setDropAction(action);
        event->accept();
    } else {
        event->ignore();
    }
}

void TExtStringGrid::dragLeaveEvent(QDragLeaveEvent* event) {
    FD->Input.DropKind = dkNone;
    HideArrows();
    event->accept();
}

// Whether a drop of other programs is allowed at a client point. While the
// drag moves (not at the drop) the grid scrolls when the point is at the top
// or below the last visible row.
bool TExtStringGrid::DragMouseMove(int x, int y, bool scroll) {
    const TGridInputState& in = FD->Input;
    const TGridCoord c = MouseCoord(x, y);
    bool allow = c.X >= 0 && c.Y >= 0;
    const bool column = in.DropFlags & dfColumn;
    if (allow && !column && scroll) {
        if (c.Y == 0 && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
        if (c.Y == TopRow() + VisibleRowCount() && c.Y < RowCount()) SetTopRow(TopRow() + 1);
    }
    if (allow) {
        if (column)
            allow = c.Y < FixedRows() && c.X >= FixedCols();
        else if (c.Y < FixedRows())
            allow = RowCount() == 1 && FixedRowAlways();
    }
    if (OnOleDragOver) OnOleDragOver(this, c.Y, c.X, allow);
    ShowDropMarks(x, y, allow, column);
    return allow;
}

void TExtStringGrid::dropEvent(QDropEvent* event) {
    TGridInputState& in = FD->Input;
    const QMimeData* data = event->mimeData();
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    const TDropKind kind = in.DropKind;
    in.DropKind = dkNone;
    // The marks go whatever the drop does.
    auto hideMarks = cb::rtl::OnScopeExit([this] { HideArrows(); });
    if (OfferToParts([event](TGridPart& part) { return part.Drop(*event); })) return;
    try {
        if (kind == dkControl) {
            if (!ControlDropAccepted(data, x, y)) {
                event->ignore();
                return;
            }
            event->acceptProposedAction();
            if (OnDragDrop) OnDragDrop(this, data, x, y);
            return;
        }
        if (kind != dkOle || !in.DropAllowed || !DragMouseMove(x, y, false)) {
            event->ignore();
            return;
        }
        event->setDropAction(EffectFor(event));
        event->accept();
        const TGridCoord c = MouseCoord(x, y);
        if (in.DropFlags & dfColumn) {
            bool ok = false;
            const int dragged = QString::fromLatin1(data->data(GridColumnMimeType)).trimmed().toInt(&ok);
            if (ok && dragged >= 0 && dragged < ColCount() && OnOleDropCol) OnOleDropCol(this, c.Y, c.X, dragged);
        } else if (in.DropFlags & dfRTF) {
            const QByteArray rtf = data->data(RichTextMimeType);
            if (rtf.size() > MaxDropTextBytes) throw EExtGridError("The dropped text is too large");
            std::string text(rtf.constData(), size_t(rtf.size()));
            bool allow = true;
            if (OnOleDrop) OnOleDrop(this, c.Y, c.X, text, allow);
            if (allow) SetCellText(c.X, c.Y, text);
        } else if (in.DropFlags & dfText) {
            const QString text = data->text();
            if (text.size() > MaxDropTextBytes) throw EExtGridError("The dropped text is too large");
            DropText(x, y, text.toStdString());
        }
        if (in.DropFlags & dfFiles) DropFiles(x, y, LocalFiles(data));
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

void TExtStringGrid::DropText(int x, int y, const std::string& text) {
    TGridCoord c = MouseCoord(x, y);
    const std::vector<std::string> lines = SplitLines(text);
    const int rows = int(std::min<size_t>(lines.size(), size_t(MaxDropRows) + 1));
    if (rows > MaxDropRows) throw EExtGridError("The dropped text has too many rows");
    int cols = 0;
    for (const std::string& line : lines) cols = std::max(cols, int(std::count(line.begin(), line.end(), '\t')) + 1);
    if (cols > MaxDropCols) throw EExtGridError("The dropped text has too many columns");
    if (Options() & goRowSelect) c.X = DragDropSettings.OleEntireRows ? 0 : FixedCols();
    bool allow = true;
    if (OnOleDrop) OnOleDrop(this, c.Y, c.X, text, allow);
    TGridRect dropped = Selection();
    if (allow && rows > 0) {
        // Rows inserted above the dragged ones move them down before the
        // source removes them (only inserted rows move anything).
        if (c.Y <= DragSourceRect.Top && DragDropSettings.OleRemoveRows && DragDropSettings.OleInsertRows) {
            DragSourceRect.Top += rows;
            DragSourceRect.Bottom += rows;
        }
        if (c.Y == 0 && RowCount() == 1 && FixedRowAlways()) c.Y = 1;
        if (DragDropSettings.OleInsertRows) {
            const int top = TopRow();
            InsertRows(c.Y, rows);
            SetTopRow(top > FixedRows() ? top + 1 : top);
        }
        for (int r = 0; r < rows && c.Y + r < RowCount(); ++r) {
            const std::vector<std::string> fields = SplitTabs(lines[size_t(r)]);
            for (int f = 0; f < int(fields.size()) && c.X + f < ColCount(); ++f)
                SetCellText(c.X + f, c.Y + r, fields[size_t(f)]);
        }
        const int left = std::max(c.X, FixedCols());
        const int right = (Options() & goRowSelect) ? left + cols - FixedCols() : left + cols - 1;
        dropped = {left, c.Y, std::clamp(right, left, ColCount() - 1), std::min(c.Y + rows - 1, RowCount() - 1)};
        if (dropped.Left < ColCount() && dropped.Top < RowCount()) SetSelection(dropped);
    }
    if (OnOleDropped) OnOleDropped(this, dropped);
}

void TExtStringGrid::DropFiles(int x, int y, const std::vector<std::string>& names) {
    if (names.size() != 1) return;
    const std::string& name = names.front();
    const TGridCoord c = MouseCoord(x, y);
    bool allow = true;
    if (OnOleDropFile) OnOleDropFile(this, c.Y, c.X, name, allow);
    if (!allow) return;
    const std::string ext = UpperExtension(name);
    if (ext == "CSV") {
        if (OnOleDrop) OnOleDrop(this, -1, -1, name, allow);
        if (allow) ImportCSVFile(name);
    } else if (ext == "XLS" || ext == "XLSX") {
        if (OnOleDrop) OnOleDrop(this, -1, -1, name, allow);
        if (allow) ImportWorkbookFile(name);
    }
}

void TExtStringGrid::ImportCSVFile(const std::string& fileName) {
    TGridPart* data = Part(TGridPartKind::Data);
    if (!data || !data->ImportCSVFile(fileName)) throw EExtGridError("CSV import is not available");
}

void TExtStringGrid::ImportWorkbookFile(const std::string&) {
    throw EExtGridError("Excel OLE server not found");
}

// ---------------------------------------------------------------------------
// Drag source

std::string TExtStringGrid::SelectionAsTabText() const {
    const TGridRect s = DragSourceRect;
    std::string text;
    for (int r = s.Top; r <= s.Bottom && r < RowCount(); ++r) {
        for (int c = s.Left; c <= s.Right && c < ColCount(); ++c) {
            if (c > s.Left) text += '\t';
            text += GetCellText(c, r);
        }
        text += "\r\n";
    }
    return text;
}

void TExtStringGrid::StartCellDrag(int col, int row) {
    bool allow = true;
    if (OnOleDrag) OnOleDrag(this, row, col, GetCellText(RealColIndex(col), row), allow);
    if (!allow) {
        if (GridState() == gsNormal) SetGridState(gsSelecting);
        return;
    }
    if (OnOleDragStart) OnOleDragStart(this, row, col);
    SuppressClick();
    if (row < FixedRows() && DragDropSettings.OleColumnDragDrop) {
        // The header's caption goes with the mouse.
        TPopupButton& caption = MoveCaption();
        caption.Caption = Cells(col, 0);
        caption.resize(ColWidths(col), RowHeights(0));
        SetDragPixmap(caption.grab());
        auto* data = new QMimeData;
        data->setData(GridColumnMimeType, QByteArray::number(col));
        QPointer<TExtStringGrid> self(this);
        const Qt::DropAction action = ExecDrag(data, Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        if (!self) return;
        if (action != Qt::IgnoreAction && OnOleDragStop) OnOleDragStop(this, action);
        return;
    }
    // With row selection whole rows are dragged.
    DragSourceRect = Selection();
    if (Options() & goRowSelect) {
        DragSourceRect.Left = DragDropSettings.OleEntireRows ? 0 : FixedCols();
        DragSourceRect.Right = ColCount() - 1;
    }
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(SelectionAsTabText()));
    if (DragDropSettings.OleDropRTF) {
        const std::string rtf = GetCellText(RealColIndex(col), row);
        data->setData(RichTextMimeType, QByteArray(rtf.data(), qsizetype(rtf.size())));
    }
    // The drag loop runs events: the grid may go while it runs.
    QPointer<TExtStringGrid> self(this);
    const Qt::DropAction action = ExecDrag(data, Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    if (!self) return;
    if (action != Qt::IgnoreAction) {
        const TGridRect s = DragSourceRect;
        if (action == Qt::MoveAction) {
            if (DragDropSettings.OleRemoveRows && (Options() & goRowSelect)) {
                if (MouseActions.DisjunctRowSelect)
                    RemoveSelectedRows();
                else if (s.Top >= FixedRows() && s.Top < RowCount())
                    RemoveRows(s.Top, std::min(s.Bottom, RowCount() - 1) - s.Top + 1);
            } else if (!DragDropSettings.OleCopyAlways) {
                ClearRect(s.Left, s.Top, std::min(s.Right, ColCount() - 1), std::min(s.Bottom, RowCount() - 1));
            }
        }
        if (OnOleDragStop) OnOleDragStop(this, action);
    }
    DragSourceRect = {-1, -1, -1, -1};
}

}  // namespace cb::grid
