#pragma once
// The query model behind the view: ordered lists of MDX set expressions for
// the rows, the columns and the measures, the cube they query, the MDX text
// composed from them, and the undo and redo history of the lists.
#include "app/core/base/AppContext.h"
#include "app/core/query/MDXUndo.h"
#include "olap/adomd/Adomd.h"

#include <functional>
#include <memory>
#include <string>

namespace cb::app {

class TDimension;

// Axis codes.
enum : int {
    axNone = 0,
    axRows = 1,
    axColumns = 2,
    axMeasures = 4
};

class TMDXBuilder {
public:
    // The context tells the user about failures and swaps that need a yes.
    explicit TMDXBuilder(TAppContext context = {});
    ~TMDXBuilder();
    TMDXBuilder(const TMDXBuilder&) = delete;
    TMDXBuilder& operator=(const TMDXBuilder&) = delete;

    // Set expressions per axis; measures are measure unique names.
    TTextList Columns;
    TTextList Rows;
    TTextList Measures;
    std::string ConnectionString;
    std::string CubeName;  // in square brackets
    // The lists changed since they were last normalised.
    bool Changed = false;

    // Fired with the text before every query the builder runs (and the
    // display manager runs through OpenQuery).
    std::function<void(const std::string& mdx)> OnQuery;
    // Opens the support page (the settings' SupportAddress, when one is
    // set) after a failing query; empty means ShellOpen.
    std::function<bool(const std::string& url)> OnOpenWebPage;

    // View changes. The as-one-step flag asks for an undo step; an operation
    // that leaves the lists as they were pushes none and keeps the redo
    // stack.
    bool AddToAxis(const std::string& set, int axis, bool asOneStep);
    bool AddToAxisWithUnion(const std::string& set, int axis, bool asOneStep);
    bool AppendToAxis(const TTextList& sets, int axis);
    void RemoveSet(const std::string& set, bool asOneStep);
    bool RemoveMeasure(const std::string& measure, bool asOneStep);
    // Expands a member of the rows or columns by its children, or collapses
    // it when it is expanded. False when nothing changed (a leaf, a measure,
    // a member on no axis) or on an error.
    bool ToggleDrillDown(const std::string& member);
    void ClearRowsAndColumns();
    // With empty columns asks the user first; false when refused.
    bool SwapRowsAndColumns();
    // Back to the default view (an undo step); false when the default
    // query cannot be built or run.
    bool ResetToDefaultQuery();

    // A different cube starts a new history with its default query.
    void SetCubeDef(std::shared_ptr<cb::olap::CubeDef> cubeDef);
    const std::shared_ptr<cb::olap::CubeDef>& GetCubeDef() const { return FCubeDef; }
    void SetCubeName(const std::string& name);

    // Axis of the first entry beginning with the text (columns, rows, then
    // measures); axNone when none does.
    int GetAxisOf(const std::string& text) const;
    // The entries of the dimension's axis as selected members; none when
    // the dimension is on no axis.
    std::unique_ptr<TDimension> GetDimensionSelection(const std::string& dimensionName) const;
    std::string GetCurrentViewText() const;
    int CountPlainMeasures() const;
    bool IsCalculatedMeasure(const std::string& entry) const;
    TCalcuatedMeasureList& CalculatedMeasures() { return FCalculated; }

    // Undo and redo.
    void PushUndoState();
    void SaveUndoState() { PushUndoState(); }
    bool CanUndo() const { return FUndo.HasStates(); }
    bool CanRedo() const { return FRedo.HasStates(); }
    bool Undo();
    bool Redo();
    void ClearUndoRedo();
    const TMDXUndoList& UndoList() const { return FUndo; }
    const TMDXRedoList& RedoList() const { return FRedo; }

    // Composing. GetMDX and BuildMDX normalise the lists first when they
    // changed, then compose the text from them.
    std::string GetMDX() { return BuildMDX(); }
    std::string BuildMDX();
    const std::string& GetMDXText() const { return FMDX; }
    std::string Compose() const;
    std::string BuildRowsSet() const;
    std::string BuildColumnsSet() const;
    std::string BuildMeasuresSet() const;
    bool BuildDefaultQuery();
    // Runs the MDX text and rewrites the lists from the members of the
    // result's axes. A failing query is logged and told to the user, and the
    // view returns to the default query (once: a failing default query is
    // not reset again). False when the query failed.
    bool NormalizeAxes();
    // The cellset of the last normalising query when its axes are exactly
    // those that the text gives (so it need not run again); taken over by
    // the caller. None otherwise.
    std::shared_ptr<cb::olap::Cellset> TakeResult(const std::string& mdx);
    // Runs a query on the cellset, firing OnQuery first.
    void OpenQuery(cb::olap::Cellset& cellset, const std::string& mdx,
                   std::shared_ptr<cb::olap::Connection> connection = nullptr);

    // Members of a result axis into a list, each once, grouped by dimension;
    // with a measures list, measures go there.
    static void ReadAxisMembers(const cb::olap::Axis& axis, TTextList& target, TTextList* measures);
    // -2 when the name is in the list; else the index of the last entry of
    // its dimension, or -1 when there is none.
    static int FindInsertIndex(const std::string& uniqueName, const TTextList& list);
    // "[D]" of "[D].[a]": the text from the first "[" through the first "]".
    static std::string FirstBracketedPart(const std::string& entry);
    // The text from the start through the first "]".
    static std::string EntryHead(const std::string& entry);

private:
    TTextList* AxisList(int axis);
    bool IsOnOtherAxis(const std::string& key, int axis) const;
    bool HasDescendants(const std::string& text) const;
    void RemoveDescendants(const std::string& text);
    void RemoveExact(const std::string& text);
    void RemoveSetEntries(const std::string& text);
    void RemoveFromMeasures(const std::string& text);
    int LastIndexWithin(const std::string& text, int axis);
    static bool AxisHasDimension(const std::string& key, const TTextList& list);
    static std::string TakeDimensionRun(TTextList& list, const std::string& key, int& start);
    // True when the member is known to the cube and has no children.
    bool IsLeafMember(const std::string& uniqueName) const;
    // Runs the change; when it altered the lists, sets Changed and, with
    // push, records the lists from before as an undo step.
    template <class F>
    bool Step(bool push, F&& change);
    // One step that takes the set's dimension off the other axis, then lets
    // place put the set into the axis list; false for an unknown axis.
    template <class F>
    bool PlaceOnAxis(const std::string& set, int axis, bool asOneStep, F&& place);
    void PushRedoState();
    void Restore(const TMDXAxisState& state);
    bool ResultMatchesLists(const cb::olap::Cellset& cellset) const;
    void ReportQueryFailure(const std::string& message);

    TAppContext FContext;
    std::shared_ptr<cb::olap::CubeDef> FCubeDef;
    TCalcuatedMeasureList FCalculated;
    std::string FMDX;
    TMDXRedoList FRedo;
    TMDXUndoList FUndo;
    std::shared_ptr<cb::olap::Cellset> FResult;
    std::string FResultMDX;
    // The lists as the default query left them, to skip running it again
    // while they are unchanged.
    std::unique_ptr<TMDXAxisState> FDefaultState;
    bool FInDefaultQuery = false;
    bool FInFailureReset = false;
};

}  // namespace cb::app
