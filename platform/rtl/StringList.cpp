#include "platform/rtl/StringList.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cerrno>

namespace cb::rtl {

TStringList::TStringList(std::initializer_list<std::string> Items) {
    for (const auto& s : Items) Add(s);
}

TStringList::TStringList(const std::vector<std::string>& Items) {
    for (const auto& s : Items) Add(s);
}

void TStringList::Check(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

const std::string& TStringList::Strings(int Index) const {
    Check(Index);
    return FItems[static_cast<std::size_t>(Index)].text;
}

void TStringList::SetStrings(int Index, std::string S) {
    Check(Index);
    FItems[static_cast<std::size_t>(Index)].text = std::move(S);
}

void* TStringList::Objects(int Index) const {
    Check(Index);
    return FItems[static_cast<std::size_t>(Index)].object;
}

void TStringList::SetObjects(int Index, void* Object) {
    Check(Index);
    FItems[static_cast<std::size_t>(Index)].object = Object;
}

int TStringList::Add(std::string S) {
    return AddObject(std::move(S), nullptr);
}

int TStringList::AddObject(std::string S, void* Object) {
    FItems.push_back(Item{std::move(S), Object});
    return Count() - 1;
}

void TStringList::AddStrings(const TStringList& Other) {
    const auto copy = Other.FItems;  // Other may be this list
    FItems.insert(FItems.end(), copy.begin(), copy.end());
}

void TStringList::Insert(int Index, std::string S) {
    InsertObject(Index, std::move(S), nullptr);
}

void TStringList::InsertObject(int Index, std::string S, void* Object) {
    if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    FItems.insert(FItems.begin() + Index, Item{std::move(S), Object});
}

void TStringList::Delete(int Index) {
    Check(Index);
    FItems.erase(FItems.begin() + Index);
}

void TStringList::Clear() {
    FItems.clear();
}

void TStringList::Exchange(int Index1, int Index2) {
    Check(Index1);
    Check(Index2);
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
}

void TStringList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    Check(CurIndex);
    Check(NewIndex);
    Item it = std::move(FItems[static_cast<std::size_t>(CurIndex)]);
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, std::move(it));
}

int TStringList::IndexOf(std::string_view S, bool CaseSensitive) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& t = FItems[static_cast<std::size_t>(i)].text;
        if (CaseSensitive ? t == S : SameText(t, S)) return i;
    }
    return -1;
}

int TStringList::IndexOfObject(const void* Object) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].object == Object) return i;
    return -1;
}

void TStringList::Sort() {
    if (FCaseSensitive)
        CustomSort([](const std::string& a, const std::string& b) { return a < b; });
    else
        CustomSort([](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
}

void TStringList::CustomSort(const std::function<bool(const std::string&, const std::string&)>& Less) {
    std::stable_sort(FItems.begin(), FItems.end(), [&](const Item& a, const Item& b) { return Less(a.text, b.text); });
}

std::string TStringList::Text() const {
    std::string r;
    for (const auto& it : FItems) {
        r += it.text;
        r += "\r\n";
    }
    return r;
}

void TStringList::SetText(std::string_view Text) {
    FItems.clear();
    std::size_t i = 0;
    while (i < Text.size()) {
        std::size_t e = Text.find_first_of("\r\n", i);
        if (e == std::string_view::npos) {
            Add(std::string(Text.substr(i)));
            break;
        }
        Add(std::string(Text.substr(i, e - i)));
        i = e + ((Text[e] == '\r' && e + 1 < Text.size() && Text[e + 1] == '\n') ? 2 : 1);
    }
}

std::string TStringList::DelimitedText() const {
    std::string r;
    for (std::size_t n = 0; n < FItems.size(); ++n) {
        const std::string& s = FItems[n].text;
        bool quote = s.find(FDelimiter) != std::string::npos || s.find(FQuoteChar) != std::string::npos;
        if (!FStrictDelimiter)
            for (char c : s) quote = quote || static_cast<unsigned char>(c) <= ' ';
        // An empty item would vanish between two delimiters only when it
        // is alone; quote it then.
        if (s.empty() && FItems.size() == 1) quote = true;
        if (n > 0) r += FDelimiter;
        r += quote ? QuotedStr(s, FQuoteChar) : s;
    }
    return r;
}

void TStringList::SetDelimitedText(std::string_view Text) {
    FItems.clear();
    auto isBlank = [&](char c) { return !FStrictDelimiter && static_cast<unsigned char>(c) <= ' '; };
    std::size_t i = 0;
    const std::size_t n = Text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(Text[i]) && Text[i] != FDelimiter) ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string item;
        if (Text[i] == FQuoteChar) {
            ++i;
            while (i < n) {
                if (Text[i] == FQuoteChar) {
                    if (i + 1 < n && Text[i + 1] == FQuoteChar) {
                        item += FQuoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += Text[i++];
            }
            // Text glued after the closing quote belongs to the item.
            while (i < n && Text[i] != FDelimiter && !isBlank(Text[i])) item += Text[i++];
        } else {
            while (i < n && Text[i] != FDelimiter && !isBlank(Text[i])) item += Text[i++];
        }
        Add(std::move(item));
        skipBlanks();
        if (i < n && Text[i] == FDelimiter) {
            ++i;
            skipBlanks();
            if (i == n) Add(std::string());  // a trailing delimiter ends an empty item
        }
    }
}

std::string TStringList::CommaText() const {
    TStringList tmp;
    tmp.FItems = FItems;
    return tmp.DelimitedText();
}

void TStringList::SetCommaText(std::string_view Text) {
    TStringList tmp;
    tmp.SetDelimitedText(Text);
    FItems = std::move(tmp.FItems);
}

std::string TStringList::Names(int Index) const {
    const std::string& s = Strings(Index);
    auto p = s.find(FNameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStringList::ValueFromIndex(int Index) const {
    const std::string& s = Strings(Index);
    auto p = s.find(FNameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(p + 1);
}

int TStringList::IndexOfName(std::string_view Name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = FItems[static_cast<std::size_t>(i)].text;
        auto p = s.find(FNameValueSeparator);
        if (p == std::string::npos) continue;
        std::string_view n(s.data(), p);
        if (FCaseSensitive ? n == Name : SameText(n, Name)) return i;
    }
    return -1;
}

std::string TStringList::Values(std::string_view Name) const {
    int i = IndexOfName(Name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(std::string_view Name, std::string_view Value) {
    int i = IndexOfName(Name);
    if (Value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    std::string line = std::string(Name) + FNameValueSeparator + std::string(Value);
    if (i >= 0)
        SetStrings(i, std::move(line));
    else
        Add(std::move(line));
}

void TStringList::LoadFromFile(const std::string& FileName) {
    std::string data;
    if (!ReadFileBytes(FileName, data)) throw EInOutError(OsErrorText("Cannot open file", FileName, ENOENT));
    std::string_view v(data);
    if (v.size() >= 3 && v.substr(0, 3) == "\xEF\xBB\xBF") v.remove_prefix(3);
    SetText(v);
}

void TStringList::SaveToFile(const std::string& FileName) const {
    WriteFileAtomic(FileName, Text());
}

std::vector<std::string> TStringList::ToVector() const {
    std::vector<std::string> r;
    r.reserve(FItems.size());
    for (const auto& it : FItems) r.push_back(it.text);
    return r;
}

bool TStringList::operator==(const TStringList& Other) const {
    return ToVector() == Other.ToVector();
}

}  // namespace cb::rtl
