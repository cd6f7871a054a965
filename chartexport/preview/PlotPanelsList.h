#pragma once
// The chart panels a print preview shows and prints, in order: watched, not
// owned. A panel that is destroyed leaves the list; the first entry is the
// preview's main panel.
#include <QPointer>

#include <vector>

namespace cb::chart {
class TCustomPlotPanel;
}

namespace cb::chartexport {

class TPlotPanelsList {
public:
    // The panels still alive.
    int Count() const;
    // Panel index (0 is the first); null out of range.
    cb::chart::TCustomPlotPanel* Items(int index) const;
    cb::chart::TCustomPlotPanel* First() const { return Items(0); }
    // -1 when not listed.
    int IndexOf(const cb::chart::TCustomPlotPanel* panel) const;
    // Appends a panel not listed yet; false for null or a listed one.
    bool Add(cb::chart::TCustomPlotPanel* panel);
    // Puts the panel first, moving it when listed already.
    void MakeFirst(cb::chart::TCustomPlotPanel* panel);
    void Remove(const cb::chart::TCustomPlotPanel* panel);
    // Removes the entry at index; nothing out of range.
    void Delete(int index);
    void Clear() { FItems.clear(); }
    // The live panels in order, for drawing and printing.
    std::vector<cb::chart::TCustomPlotPanel*> Panels() const;

private:
    void Prune() const;

    mutable std::vector<QPointer<cb::chart::TCustomPlotPanel>> FItems;
};

}  // namespace cb::chartexport
