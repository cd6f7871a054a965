#pragma once
// Events a chart panel broadcasts to its listeners, and the listener list.
#include <algorithm>
#include <vector>

namespace cb::chart {

class TCustomPlotPanel;

// The points of a chart's paint (and the mouse leaving it) told to tools.
enum TChartStage : int {
    csEndOfPaint = 0,
    csBeforeSeries = 1,
    csStartOfPaint = 2,
    csBeforeAxes = 3,
    csAfterSeries = 4,
    csMouseLeave = 5,
    // Over the finished picture: overlays drawn from the tools' state. On
    // screen they come after the kept picture is shown (so moving one
    // repaints no series); other drawings get them after csEndOfPaint.
    csOverlay = 6
};

class TPlotEvent {
public:
    virtual ~TPlotEvent() = default;
    TCustomPlotPanel* Sender = nullptr;
};

// The panel's 3D switch changed.
class TPlotView3DEvent : public TPlotEvent {};

enum TPlotMouseEventKind {
    meDown = 0,
    meUp = 1,
    meMove = 2
};
enum TPlotMouseButton {
    mbLeft,
    mbRight,
    mbMiddle
};
enum TPlotShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};

class TPlotMouseEvent : public TPlotEvent {
public:
    TPlotMouseEventKind Kind = meMove;
    TPlotMouseButton Button = mbLeft;
    unsigned Shift = 0;
    int X = 0;
    int Y = 0;
};

class TPlotEventListener {
public:
    virtual ~TPlotEventListener() = default;
    virtual void HandleEvent(TPlotEvent& event) = 0;
};

// Registered listeners, in order of addition (not owned).
class TPlotEventListeners {
public:
    void Add(TPlotEventListener* l) {
        if (l && std::find(FItems.begin(), FItems.end(), l) == FItems.end()) FItems.push_back(l);
    }
    void Remove(TPlotEventListener* l) { FItems.erase(std::remove(FItems.begin(), FItems.end(), l), FItems.end()); }
    // Index of the listener, appended when not yet listed.
    int AddListener(TPlotEventListener* l) {
        const auto it = std::find(FItems.begin(), FItems.end(), l);
        if (it != FItems.end()) return int(it - FItems.begin());
        FItems.push_back(l);
        return int(FItems.size()) - 1;
    }
    // Former index of the listener, -1 when it was not listed.
    int RemoveListener(TPlotEventListener* l) {
        const auto it = std::find(FItems.begin(), FItems.end(), l);
        if (it == FItems.end()) return -1;
        const int index = int(it - FItems.begin());
        FItems.erase(it);
        return index;
    }
    TPlotEventListener* ListenerAt(int i) const { return FItems.at(std::size_t(i)); }
    int Count() const { return int(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    TPlotEventListener* operator[](int i) const { return FItems[std::size_t(i)]; }
    const std::vector<TPlotEventListener*>& Items() const { return FItems; }

private:
    std::vector<TPlotEventListener*> FItems;
};

}  // namespace cb::chart
