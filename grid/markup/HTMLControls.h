#pragma once
// In-cell controls of the mark-up: "<CONTROL TYPE=".." ID=".." VALUE=".."
// WIDTH="..">". Their state lives in the tag; a change rewrites the tag.
#include <string>
#include <string_view>

namespace cb::grid {

struct THTMLControlTag {
    std::string Type;  // upper-cased: EDIT, COMBO, CHECK, RADIO, BUTTON
    std::string ID;
    std::string Width;
    std::string Value;  // "&lt;" and "&gt;" turned back
};

// Reads the attributes of one CONTROL tag (with or without its "<" and ">").
THTMLControlTag ParseHTMLControlTag(std::string_view tag);

// Rewrites the first CONTROL tag whose ID equals id (case matters) as
// <CONTROL ID="id" VALUE="value" WIDTH="width" TYPE="TYPE">; false, text
// unchanged, when there is none.
bool SetHTMLControlValue(std::string& text, const std::string& id, const std::string& value);

// Default width of a control whose WIDTH is not a number.
constexpr int HTMLControlDefaultWidth = 80;

}  // namespace cb::grid
