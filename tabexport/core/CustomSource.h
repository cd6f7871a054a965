#pragma once
// TqeCustomSource: a row source an application feeds through two events,
// one that tells whether a record follows and one that gives a column's
// value in the current record.
#include "tabexport/core/TabExportTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::tabexport {

class TqeCustomSource;

class TqeCustomColumn {
public:
    explicit TqeCustomColumn(TqeCustomSource* Source) : FSource(Source) {}

    const std::string& ColumnName() const { return FColumnName; }
    // Ignored for an empty name, the current one, or a name another column
    // of the same source has (case ignored).
    void SetColumnName(const std::string& Name);

    TTabExportColType ColumnType = ectString;
    std::string Caption;
    int Width = 15;
    int Size = 15;

    // The value of this column in the source's current record; empty
    // without a value handler.
    std::string GetValue();
    TqeCustomSource* Source() const { return FSource; }

private:
    friend class TqeCustomColumns;
    TqeCustomSource* FSource;
    std::string FColumnName;
};

class TqeCustomColumns {
public:
    explicit TqeCustomColumns(TqeCustomSource* Source) : FSource(Source) {}
    // A new column named "Column<n>" with the smallest free n.
    TqeCustomColumn& Add();
    int Count() const { return int(FItems.size()); }
    TqeCustomColumn& Items(int Index) const { return *FItems.at(size_t(Index)); }
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    int IndexOfName(const std::string& Name) const;

private:
    TqeCustomSource* FSource;
    std::vector<std::unique_ptr<TqeCustomColumn>> FItems;
};

class TqeCustomSource {
public:
    TqeCustomSource() : FColumns(this) {}
    TqeCustomSource(const TqeCustomSource&) = delete;
    TqeCustomSource& operator=(const TqeCustomSource&) = delete;

    TqeCustomColumns& Columns() { return FColumns; }
    TqeCustomColumn* FindColumn(const std::string& Name);

    // Asked for the record RecNo whether it is the last one (Eof := true).
    std::function<void(TqeCustomSource& Sender, int RecNo, bool& Eof)> OnGetNextRecord;
    // Gives Column's value in record RecNo.
    std::function<void(TqeCustomSource& Sender, int RecNo, TqeCustomColumn& Column, std::string& Value)>
        OnGetColumnValue;

    int RecNo() const { return FRecNo; }
    bool Eof() const { return FEof; }
    void First();
    void Next();

private:
    TqeCustomColumns FColumns;
    int FRecNo = 1;
    bool FEof = false;
};

}  // namespace cb::tabexport
