#include "olap/xmla/XmlaSoap.h"

#include "olap/engine/OlapError.h"
#include "platform/rtl/Strings.h"

namespace cb::olap::xmla {

namespace {

const char* const kEnvelopeStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\"><SOAP-ENV:Body>";
const char* const kEnvelopeEnd = "</SOAP-ENV:Body></SOAP-ENV:Envelope>\n";

void AppendElements(std::string& out, const Pairs& pairs) {
    for (const auto& [name, value] : pairs) out += "<" + name + ">" + XmlEscape(value) + "</" + name + ">";
}

std::string PropertyList(const Pairs& properties) {
    std::string s = "<Properties><PropertyList>";
    AppendElements(s, properties);
    return s + "</PropertyList></Properties>";
}

}  // namespace

std::string XmlEscape(const std::string& text) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            throw EOlapError("The text holds the control character " + std::to_string(c) +
                             ", which cannot be sent to an analysis server");
    }
    // A plain CR would be read as a line feed.
    return cb::rtl::StringReplace(cb::rtl::EscapeMarkup(text), "\r", "&#13;", cb::rtl::rfReplaceAll);
}

std::string DiscoverRequest(const std::string& requestType, const Pairs& restrictions, const Pairs& properties) {
    std::string s = kEnvelopeStart;
    s += "<Discover xmlns=\"urn:schemas-microsoft-com:xml-analysis\"><RequestType>" + XmlEscape(requestType) +
         "</RequestType><Restrictions><RestrictionList>";
    AppendElements(s, restrictions);
    s += "</RestrictionList></Restrictions>" + PropertyList(properties) + "</Discover>";
    return s + kEnvelopeEnd;
}

std::string ExecuteRequest(const std::string& statement, const Pairs& properties) {
    std::string s = kEnvelopeStart;
    s += "<Execute xmlns=\"urn:schemas-microsoft-com:xml-analysis\"><Command><Statement>" + XmlEscape(statement) +
         "</Statement></Command>" + PropertyList(properties) + "</Execute>";
    return s + kEnvelopeEnd;
}

}  // namespace cb::olap::xmla
