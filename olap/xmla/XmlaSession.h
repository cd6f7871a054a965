#pragma once
// One session with an XMLA server and catalog: Discover and Execute
// requests, the server's user name and password, and errors that name the
// server.
#include "olap/xmla/XmlaHttp.h"
#include "olap/xmla/XmlaReader.h"
#include "olap/xmla/XmlaSoap.h"

#include <memory>
#include <string>

namespace cb::olap::xmla {

class Session {
public:
    // server as the user gave it (see ServerAddress); catalog may be empty
    // until ResolveCatalog.
    Session(const std::string& server, std::string catalog);

    const std::string& Address() const { return FAddress; }
    const std::string& Catalog() const { return FCatalog; }
    // An empty catalog becomes the server's first; a named one must exist.
    void ResolveCatalog();

    // The rowset, in the session's catalog when it has one (and inCatalog).
    Rowset Discover(const std::string& requestType, const Pairs& restrictions = {}, bool inCatalog = true);
    DataSet Execute(const std::string& statement);

    // "The analysis server <address> " + what.
    [[noreturn]] void Fail(const std::string& what) const;

private:
    // The answer to the request, once its status says it is an XMLA answer
    // or fault; its body still to be read.
    std::unique_ptr<HttpStream> Post(const std::string& action, const std::string& body, long timeoutMs);
    template <class Result>
    Result Read(std::unique_ptr<HttpStream> answer, Result (*read)(const AnswerSource&, const ReadLimits&));
    Pairs Properties(bool execute, bool inCatalog) const;

    std::string FAddress;
    std::string FCatalog;
};

}  // namespace cb::olap::xmla
