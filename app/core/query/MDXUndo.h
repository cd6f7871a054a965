#pragma once
// History of the query model: snapshots of its row, column and measure
// lists on two stacks, and the list of calculated measures.
#include <memory>
#include <string>
#include <vector>

namespace cb::app {

using TTextList = std::vector<std::string>;

class TMDXAxisState {
public:
    TTextList RowMembers;
    TTextList ColMembers;
    TTextList MeasuresMembers;
    TTextList FilterMembers;  // never filled
};

// A stack of states; the last one is the top.
class TMDXAxisStateList {
public:
    void Push(std::unique_ptr<TMDXAxisState> state) { FStates.push_back(std::move(state)); }
    void Clear() { FStates.clear(); }
    bool DropTop();
    int Count() const { return static_cast<int>(FStates.size()); }
    const TMDXAxisState& GetState(int index) const { return *FStates.at(static_cast<size_t>(index)); }

protected:
    // A state holding copies of the lists, pushed on top.
    void PushCopies(const TTextList& rows, const TTextList& columns, const TTextList& measures);
    // The top state, taken off the stack; none when empty.
    std::unique_ptr<TMDXAxisState> PopTop();

private:
    std::vector<std::unique_ptr<TMDXAxisState>> FStates;
};

class TMDXUndoList : public TMDXAxisStateList {
public:
    void Push(const TTextList& rows, const TTextList& columns, const TTextList& measures) {
        PushCopies(rows, columns, measures);
    }
    bool HasStates() const { return Count() > 0; }
    std::unique_ptr<TMDXAxisState> Pop() { return PopTop(); }
};

class TMDXRedoList : public TMDXAxisStateList {
public:
    void Push(const TTextList& rows, const TTextList& columns, const TTextList& measures) {
        PushCopies(rows, columns, measures);
    }
    bool HasStates() const { return Count() > 0; }
    std::unique_ptr<TMDXAxisState> Pop() { return PopTop(); }
};

struct TCalculatedMeasure {
    std::string Name;
    bool Selected = false;
};

// Calculated measures of the query model (the name is spelled as it always was).
class TCalcuatedMeasureList {
public:
    void Add(TCalculatedMeasure measure) { FMeasures.push_back(std::move(measure)); }
    void Clear() { FMeasures.clear(); }
    int Count() const { return static_cast<int>(FMeasures.size()); }
    int SelectedCount() const;
    const TCalculatedMeasure& GetMeasure(int index) const { return FMeasures.at(static_cast<size_t>(index)); }

private:
    std::vector<TCalculatedMeasure> FMeasures;
};

}  // namespace cb::app
