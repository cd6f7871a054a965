#pragma once
// Small helpers shared by the XMLA tests.
#include "olap/engine/OlapError.h"

#include <functional>
#include <string>

namespace cbtest::xmla {

// The message of the EOlapError f throws; "no error" when it throws none.
inline std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const cb::olap::EOlapError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace cbtest::xmla
