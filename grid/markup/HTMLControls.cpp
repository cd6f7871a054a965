// Reading and rewriting in-cell control tags.
#include "grid/markup/HTMLControls.h"

#include "grid/markup/MarkupText.h"
#include "platform/rtl/Strings.h"

namespace cb::grid {

namespace {

std::string escapeAngles(std::string_view v) {
    std::string out;
    for (char c : v) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string unescapeAngles(std::string_view v) {
    std::string out;
    out.reserve(v.size());
    for (size_t i = 0; i < v.size();) {
        if (v.substr(i, 4) == "&lt;") {
            out += '<';
            i += 4;
        } else if (v.substr(i, 4) == "&gt;") {
            out += '>';
            i += 4;
        } else {
            out += v[i++];
        }
    }
    return out;
}

// Value of name in tag: searched in the upper-cased text, taken from the original.
std::string attribute(std::string_view tag, const std::string& upper, std::string_view name) {
    std::string_view v = HTMLAttribute(upper, name);
    if (v.data() == nullptr || v.empty()) return {};
    return std::string(tag.substr(size_t(v.data() - upper.data()), v.size()));
}

}  // namespace

THTMLControlTag ParseHTMLControlTag(std::string_view tag) {
    THTMLControlTag t;
    const size_t skip = std::min<size_t>(tag.size(), tag.size() && tag[0] == '<' ? 8 : 7);
    tag.remove_prefix(skip);
    const std::string upper = cb::rtl::UpperCase(tag);
    t.Type = cb::rtl::UpperCase(attribute(tag, upper, "TYPE="));
    t.Width = attribute(tag, upper, "WIDTH=");
    t.ID = attribute(tag, upper, "ID=");
    t.Value = unescapeAngles(attribute(tag, upper, "VALUE="));
    return t;
}

bool SetHTMLControlValue(std::string& text, const std::string& id, const std::string& value) {
    size_t from = 0;
    for (;;) {
        size_t open = PosNoCase("<CONTROL ", text, from);
        if (open == std::string::npos) return false;
        size_t close = text.find('>', open);
        if (close == std::string::npos) return false;
        THTMLControlTag t = ParseHTMLControlTag(std::string_view(text).substr(open, close - open));
        if (t.ID != id) {
            from = open + 1;
            continue;
        }
        std::string tag = "CONTROL ID=\"";
        tag.append(id).append("\" VALUE=\"").append(escapeAngles(value)).append("\" WIDTH=\"");
        tag.append(t.Width).append("\" TYPE=\"").append(t.Type).append("\">");
        text.replace(open + 1, close - open, tag);
        return true;
    }
}

}  // namespace cb::grid
