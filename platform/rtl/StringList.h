#pragma once
// An ordered list of texts, each with an optional untyped object pointer
// that the list does not own.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace cb::rtl {

class TStringList {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> Items);
    explicit TStringList(const std::vector<std::string>& Items);

    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    // Index checks throw EListError ("List index out of bounds (i)").
    const std::string& Strings(int Index) const;
    void SetStrings(int Index, std::string S);
    const std::string& operator[](int Index) const { return Strings(Index); }
    void* Objects(int Index) const;
    void SetObjects(int Index, void* Object);

    int Add(std::string S);
    int AddObject(std::string S, void* Object);
    void AddStrings(const TStringList& Other);
    void Insert(int Index, std::string S);
    void InsertObject(int Index, std::string S, void* Object);
    void Delete(int Index);
    void Clear();
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);

    // Uses CaseSensitive (off by default: ASCII case ignored).
    int IndexOf(std::string_view S) const { return IndexOf(S, FCaseSensitive); }
    int IndexOf(std::string_view S, bool CaseSensitive) const;
    int IndexOfObject(const void* Object) const;
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

    // Stable; by CaseSensitive.
    void Sort();
    void CustomSort(const std::function<bool(const std::string&, const std::string&)>& Less);

    // Every item followed by "\r\n". Setting splits at "\r\n", "\n" or "\r";
    // a final line break adds no empty item.
    std::string Text() const;
    void SetText(std::string_view Text);

    // Items separated by Delimiter; an item holding the delimiter, the quote
    // or (unless StrictDelimiter) a blank or control character is quoted,
    // quotes doubled. Reading splits at the delimiter and, unless
    // StrictDelimiter, at blanks outside quotes.
    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view Text);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char C) { FDelimiter = C; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char C) { FQuoteChar = C; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool V) { FStrictDelimiter = V; }
    // DelimitedText with ',' and '"', not strict.
    std::string CommaText() const;
    void SetCommaText(std::string_view Text);

    // Name=Value items.
    std::string Names(int Index) const;
    std::string ValueFromIndex(int Index) const;
    int IndexOfName(std::string_view Name) const;
    std::string Values(std::string_view Name) const;
    // An empty value removes the item.
    void SetValue(std::string_view Name, std::string_view Value);
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char C) { FNameValueSeparator = C; }

    // Reading skips a UTF-8 byte order mark; files over 16 MiB throw.
    // Writing is atomic. Both throw EInOutError naming the file.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;

    std::vector<std::string> ToVector() const;
    bool operator==(const TStringList& Other) const;

private:
    struct Item {
        std::string text;
        void* object = nullptr;
    };
    void Check(int Index) const;
    std::vector<Item> FItems;
    bool FCaseSensitive = false;
    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;
    char FNameValueSeparator = '=';
};

}  // namespace cb::rtl
