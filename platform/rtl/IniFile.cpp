#include "platform/rtl/IniFile.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/Strings.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace cb::rtl {

namespace {

struct IniLine {
    bool isKey = false;
    std::string raw;  // the line as read; empty for a key changed or added
    std::string key;
    std::string value;
};

struct IniSection {
    bool hasHeader = false;  // false only for the lines before the first section
    std::string name;
    std::string headerRaw;
    std::vector<IniLine> lines;
    // Folded key name -> index of its first line; built when first needed.
    std::unordered_map<std::string, std::size_t> keyIndex;
    bool keyIndexValid = false;
};

std::string OneLine(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c == '\r' || c == '\n') c = ' ';
    return r;
}

}  // namespace

struct TCustomIniFile::Impl {
    std::vector<IniSection> sections;  // sections[0] holds the lines before any header
    bool bom = false;
    // Folded section name -> index of its first section, so that look-ups
    // stay fast in files of many sections; built when first needed.
    std::unordered_map<std::string, std::size_t> index;
    bool indexValid = false;

    void Parse(const std::string& text) {
        sections.clear();
        indexValid = false;
        sections.push_back(IniSection{});
        std::size_t i = 0;
        bom = text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
        if (bom) i = 3;
        while (i <= text.size()) {
            std::size_t e = text.find_first_of("\r\n", i);
            bool last = e == std::string::npos;
            if (last) e = text.size();
            std::string raw = text.substr(i, e - i);
            if (last && raw.empty()) break;
            AddLine(raw);
            if (last) break;
            i = e + ((text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? 2 : 1);
        }
    }

    void AddLine(const std::string& raw) {
        std::string t = Trim(raw);
        if (!t.empty() && t[0] == '[') {
            IniSection s;
            s.hasHeader = true;
            auto close = t.find(']');
            s.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            s.headerRaw = raw;
            sections.push_back(std::move(s));
            indexValid = false;
            return;
        }
        IniLine l;
        l.raw = raw;
        auto eq = t.find('=');
        if (!t.empty() && t[0] != ';' && eq != std::string::npos) {
            l.isKey = true;
            l.key = Trim(t.substr(0, eq));
            l.value = Trim(t.substr(eq + 1));
        }
        sections.back().lines.push_back(std::move(l));
    }

    // The first section of that name; the lines before any header are not a
    // section.
    IniSection* Find(const std::string& name) {
        if (!indexValid) {
            index.clear();
            for (std::size_t i = 1; i < sections.size(); ++i) index.emplace(LowerCase(sections[i].name), i);
            indexValid = true;
        }
        auto it = index.find(LowerCase(name));
        return it == index.end() ? nullptr : &sections[it->second];
    }
    const IniSection* Find(const std::string& name) const { return const_cast<Impl*>(this)->Find(name); }

    static IniLine* FindKey(IniSection& s, const std::string& key) {
        if (!s.keyIndexValid) {
            s.keyIndex.clear();
            for (std::size_t i = 0; i < s.lines.size(); ++i)
                if (s.lines[i].isKey) s.keyIndex.emplace(LowerCase(s.lines[i].key), i);
            s.keyIndexValid = true;
        }
        auto it = s.keyIndex.find(LowerCase(key));
        return it == s.keyIndex.end() ? nullptr : &s.lines[it->second];
    }

    const IniLine* FindKey(const std::string& section, const std::string& key) const {
        const IniSection* s = Find(Trim(section));
        return s ? FindKey(const_cast<IniSection&>(*s), Trim(key)) : nullptr;
    }

    void Append(const std::string& name) {
        // A blank line between the previous section and the new one.
        const IniSection& prev = sections.back();
        bool hasContent = prev.hasHeader || !prev.lines.empty();
        if (hasContent && (prev.lines.empty() || !Trim(prev.lines.back().raw).empty() || prev.lines.back().isKey))
            sections.back().lines.push_back(IniLine{});
        IniSection ns;
        ns.hasHeader = true;
        ns.name = name;
        sections.push_back(std::move(ns));
        if (indexValid) index.emplace(LowerCase(name), sections.size() - 1);
    }

    std::string Text() const {
        std::string out = bom ? "\xEF\xBB\xBF" : "";
        for (const IniSection& s : sections) {
            if (s.hasHeader) out += (s.headerRaw.empty() ? "[" + s.name + "]" : s.headerRaw) + "\r\n";
            for (const IniLine& l : s.lines) {
                if (l.isKey && l.raw.empty())
                    out += l.key + "=" + l.value;
                else
                    out += l.raw;
                out += "\r\n";
            }
        }
        return out;
    }
};

TCustomIniFile::TCustomIniFile(const std::string& FileName, bool AutoFlush)
    : FFileName(FileName), FAutoFlush(AutoFlush), FImpl(std::make_unique<Impl>()) {
    std::string data;
    ReadFileBytes(FFileName, data);
    FImpl->Parse(data);
}

TCustomIniFile::~TCustomIniFile() = default;

std::string TCustomIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                       const std::string& Default) const {
    const IniLine* l = FImpl->FindKey(Section, Ident);
    return l ? l->value : Default;
}

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
    const IniLine* l = FImpl->FindKey(Section, Ident);
    return l ? StrToIntDef(l->value, Default) : Default;
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
    const IniLine* l = FImpl->FindKey(Section, Ident);
    if (!l) return Default;
    int v;
    if (TryStrToInt(l->value, v)) return v != 0;
    const std::string& s = l->value;
    if (SameText(s, "true") || SameText(s, "yes") || SameText(s, "on")) return true;
    if (SameText(s, "false") || SameText(s, "no") || SameText(s, "off")) return false;
    return Default;
}

double TCustomIniFile::ReadFloat(const std::string& Section, const std::string& Ident, double Default) const {
    const IniLine* l = FImpl->FindKey(Section, Ident);
    return l ? StrToFloatDef(l->value, Default) : Default;
}

void TCustomIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
    const std::string section = Trim(OneLine(Section));
    const std::string key = Trim(OneLine(Ident));
    const std::string value = Trim(OneLine(Value));
    auto* s = FImpl->Find(section);
    if (!s) {
        FImpl->Append(section);
        s = &FImpl->sections.back();
    }
    if (IniLine* l = Impl::FindKey(*s, key)) {
        if (l->value == value) return;
        l->value = value;
        l->raw.clear();
    } else {
        // After the last key or comment, before trailing blank lines.
        std::size_t at = s->lines.size();
        while (at > 0 && !s->lines[at - 1].isKey && Trim(s->lines[at - 1].raw).empty()) --at;
        IniLine nl;
        nl.isKey = true;
        nl.key = key;
        nl.value = value;
        s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(nl));
        if (at + 1 == s->lines.size() && s->keyIndexValid)
            s->keyIndex.emplace(LowerCase(key), at);
        else
            s->keyIndexValid = false;
    }
    Changed();
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TCustomIniFile::WriteFloat(const std::string& Section, const std::string& Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const std::string& Section) const {
    return FImpl->Find(Trim(Section)) != nullptr;
}

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
    return FImpl->FindKey(Section, Ident) != nullptr;
}

std::vector<std::string> TCustomIniFile::ReadSection(const std::string& Section) const {
    std::vector<std::string> r;
    if (const auto* s = FImpl->Find(Trim(Section)))
        for (const IniLine& l : s->lines)
            if (l.isKey) r.push_back(l.key);
    return r;
}

std::vector<std::string> TCustomIniFile::ReadSections() const {
    std::vector<std::string> r;
    std::unordered_set<std::string> seen;
    for (std::size_t i = 1; i < FImpl->sections.size(); ++i) {
        const std::string& n = FImpl->sections[i].name;
        if (seen.insert(LowerCase(n)).second) r.push_back(n);
    }
    return r;
}

std::vector<std::string> TCustomIniFile::ReadSectionValues(const std::string& Section) const {
    std::vector<std::string> r;
    if (const auto* s = FImpl->Find(Trim(Section)))
        for (const IniLine& l : s->lines)
            if (l.isKey) r.push_back(l.key + "=" + l.value);
    return r;
}

void TCustomIniFile::EraseSection(const std::string& Section) {
    const std::string name = Trim(Section);
    auto& secs = FImpl->sections;
    bool any = false;
    for (std::size_t i = secs.size(); i-- > 1;)
        if (SameText(secs[i].name, name)) {
            secs.erase(secs.begin() + static_cast<std::ptrdiff_t>(i));
            any = true;
        }
    if (any) {
        FImpl->indexValid = false;
        Changed();
    }
}

void TCustomIniFile::AddSection(const std::string& Section) {
    const std::string name = Trim(OneLine(Section));
    if (FImpl->Find(name)) return;
    FImpl->Append(name);
    Changed();
}

void TCustomIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
    auto* s = FImpl->Find(Trim(Section));
    if (!s) return;
    const std::string key = Trim(Ident);
    bool any = false;
    for (std::size_t i = s->lines.size(); i-- > 0;)
        if (s->lines[i].isKey && SameText(s->lines[i].key, key)) {
            s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(i));
            any = true;
        }
    if (any) {
        s->keyIndexValid = false;
        Changed();
    }
}

void TCustomIniFile::UpdateFile() {
    WriteFileAtomic(FFileName, FImpl->Text());
    FModified = false;
}

std::string TCustomIniFile::GetText() const {
    return FImpl->Text();
}

void TCustomIniFile::SetText(const std::string& Text) {
    FImpl->Parse(Text);
    FModified = true;
}

void TCustomIniFile::Changed() {
    FModified = true;
    if (FAutoFlush) UpdateFile();
}

}  // namespace cb::rtl
