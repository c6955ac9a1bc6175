#include "api/ServiceCall.h"

const std::string& ServiceCall::value(const std::string& name) const {
    static const std::string kNone;
    for (const QueryValue& entry : query)
        if (entry.name == name) return entry.value;
    return kNone;
}
