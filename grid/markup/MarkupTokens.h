#pragma once
// The mark-up renderer's tokenizer: a mark-up text as a list of runs of text
// and of the tags the renderer knows (unknown tags are dropped).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cb::grid {

enum class TMarkupTag : std::uint8_t {
    Ignore,
    LinkOpen,
    LinkClose,
    BoldOn,
    BoldOff,
    BlinkOn,
    ColorBase,
    Body,
    Control,
    ErrorOn,
    ErrorOff,
    Font,
    FontClose,
    HiOn,
    HiOff,
    HR,
    BR,
    ItalicOn,
    ItalicOff,
    Indent,
    Img,
    ListItem,
    Para,
    ParaClose,
    Rotate,
    RotateClose,
    StrikeOn,
    StrikeOff,
    ShadowOn,
    ShadowOff,
    SubOn,
    SupOn,
    SubSupOff,
    UnderOn,
    UnderOff,
    ListOpen,
    ListClose,
    HiddenOn,
    HiddenOff
};

struct TMarkupToken {
    bool IsTag = false;
    TMarkupTag Tag = TMarkupTag::Ignore;
    bool EndsBlank = false;  // a run ending in a blank, no entity in it
    std::string Text;        // decoded run, or the tag text between "<" and ">"
    std::string Upper;       // upper-cased tag text
    std::string Target;      // a link's target

    // An attribute's value as written (Attr) or upper-cased (AttrUpper).
    std::string_view Attr(std::string_view name) const;
    std::string_view AttrUpper(std::string_view name) const;
    // The quoted value after the first letter ch of the tag text (after its
    // own first letter), upper-cased.
    std::string_view QuotedAfterLetter(char ch) const;
};

// "<#...>" loses its brackets once; line feeds go, carriage returns become
// <BR>. With wrap, runs end after each blank (the places a line may break).
std::vector<TMarkupToken> TokenizeMarkup(std::string_view text, bool wrap);

// An ASCII letter in upper case.
inline char MarkupUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

}  // namespace cb::grid
