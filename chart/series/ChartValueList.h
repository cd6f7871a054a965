#pragma once
// One column of a series' points: a growable array of doubles with a name,
// an insert order, a date-time flag and lazily computed statistics; and the
// list of a series' columns (0 = X, 1 = Y, then the extra columns).
#include "chart/core/OwnedList.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TChartSeries;

enum TChartListOrder {
    loNone,
    loAscending,
    loDescending
};

// Values the storage grows by when an insert finds it full (process-wide).
int& ValueListGrowStep();

class TChartValueList {
public:
    // Appends itself to the owner's value lists (owner may be nullptr).
    TChartValueList(TChartSeries* owner, const std::string& name);
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;
    virtual ~TChartValueList();

    // --- stored settings ---
    bool DateTime() const { return FDateTime; }
    void SetDateTime(bool on);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& name) { FName = name; }
    TChartListOrder Order() const { return FOrder; }
    // Stored values are not re-sorted.
    void SetOrder(TChartListOrder order) { FOrder = order; }
    const std::string& ValueSource() const { return FValueSource; }
    void SetValueSource(const std::string& source);
    bool IsDateTimeStored() const { return FDateTime != FDefaultDateTime; }
    // DateTime and its unstored default together.
    void SetDefaultDateTime(bool on);

    TChartSeries* Owner() const { return FOwner; }

    // --- values ---
    int ValueCount() const { return FCount; }
    // Grows the storage as needed; new values are 0. Negative raises.
    void SetValueCount(int n);
    int Capacity() const { return int(FValues.size()); }
    // Checked access (ChartException for an index outside 0..count-1).
    double Value(int index) const;
    double operator[](int index) const { return Value(index); }
    // Checked; marks the statistics out of date.
    void SetValue(int index, double value);
    // The values in use, for bulk reading.
    const double* Data() const { return FValues.data(); }

    virtual int AddValue(double value);
    virtual void ClearValues();
    // index may be 0..count.
    virtual void InsertValueAt(int index, double value);
    virtual void DeleteValue(int index);
    void DeleteRange(int index, int n);

    // The value the next ordered insert stores.
    double ParkedValue() const { return FParked; }
    void SetParkedValue(double v) { FParked = v; }
    // Inserts the parked value by Order; returns its index.
    int InsertParkedValue();

    // Raise ChartException on an empty list.
    double FirstValue() const;
    double LastValue() const;
    // First index in first..last holding exactly value, else -1.
    int FindValueBetween(int first, int last, double value) const;
    int FindValue(double value) const { return FindValueBetween(0, FCount - 1, value); }

    // --- statistics (recomputed on first read after a change) ---
    double Highest();
    double Lowest();
    double Sum();
    double SumOfMagnitudes();
    // Replaces the stored sum of magnitudes until the next change (a pie
    // counts the values it grouped once, through its other slice).
    void OverrideSumOfMagnitudes(double v) {
        SumOfMagnitudes();
        FAbsSum = v;
    }
    double Spread() { return Highest() - Lowest(); }
    void RecalcStats();
    bool Modified() const { return FModified; }
    void SetModified(bool on) { FModified = on; }

    // --- reordering ---
    void ExchangeValues(int i, int j);
    // The values of the two lists trade places (settings and names stay).
    void SwapValues(TChartValueList& other);
    void FillWithIndexes();
    // Every value one place to the front, the first becomes the last.
    void RotateValues();
    int CompareValues(int i, int j) const;
    // Sorts by Order, moving every column, colour and label of the owner.
    void SortByOrder();

    // Order, DateTime and ValueSource (not the values, not Name).
    void Assign(const TChartValueList& source);
    // Stored properties that are read and never written ("Multiplier": any
    // value other than 1 shows the obsolete-property error, loading goes
    // on). False for a name that is not one of them.
    bool ReadLegacyProperty(const std::string& name, const std::string& value);

private:
    void checkIndex(int index, int limit) const;
    void grow(int needed);

    bool FDateTime = false;
    double FHighest = 0;
    double FLowest = 0;
    std::string FName;
    TChartListOrder FOrder = loNone;
    TChartSeries* FOwner = nullptr;
    double FParked = 0;
    double FSum = 0;
    double FAbsSum = 0;
    std::string FValueSource;
    bool FDefaultDateTime = false;
    int FCount = 0;
    std::vector<double> FValues;
    bool FModified = true;
};

// The value lists of one series, owned, in creation order. A list made with
// its series as owner joins here; one that is destroyed leaves.
class TChartValueLists {
public:
    TChartValueLists() = default;
    ~TChartValueLists();
    int Count() const { return FItems.Count(); }
    TChartValueList* ValueListAt(int index) const;
    TChartValueList* operator[](int index) const { return ValueListAt(index); }
    void Add(TChartValueList* list);
    // A new list of the series, held here.
    TChartValueList* Make(TChartSeries* owner, const std::string& name);
    // Forgets the list without freeing it (a list that is destroyed).
    void Remove(TChartValueList* list);
    // Frees every list.
    void Clear();

private:
    TOwnedList<TChartValueList> FItems;
};

}  // namespace cb::chart
