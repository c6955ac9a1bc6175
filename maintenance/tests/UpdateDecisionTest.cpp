// When start-up hands over to the updater, from a table of what the
// configuration request brought back.
#include "base/ProductInfo.h"
#include "maintenance/UpdateDecision.h"

#include <gtest/gtest.h>

namespace {

struct DecisionCase {
    const char* name;
    std::optional<RemoteConfig> config;  // empty: it did not arrive in time
    const char* skipped;
    bool handsOver;
};

RemoteConfig announcing(const char* version) {
    RemoteConfig config;
    config.answered = true;
    config.version = version;
    return config;
}

RemoteConfig notJson() {
    RemoteConfig config;  // what a garbage or missing answer leaves
    return config;
}

// Named in test listings by the case's name.
void PrintTo(const DecisionCase& c, std::ostream* out) { *out << c.name; }

class UpdateDecision : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(UpdateDecision, HandsOverOnlyForAnotherVersionAnnouncedInTime) {
    const DecisionCase& c = GetParam();
    EXPECT_EQ(shouldHandOver(c.config, kProductVersion, c.skipped), c.handsOver);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UpdateDecision,
    ::testing::Values(DecisionCase{"SameVersion", announcing("Beta V1.1.4"), "", false},
                      DecisionCase{"HigherVersion", announcing("Beta V1.1.5"), "", true},
                      DecisionCase{"LowerVersion", announcing("Beta V1.0.9"), "", true},
                      DecisionCase{"SameVersionInOtherCase", announcing("beta v1.1.4"), "", true},
                      DecisionCase{"EmptyVersion", announcing(""), "", false},
                      DecisionCase{"GarbageOrUnreachable", notJson(), "", false},
                      DecisionCase{"ArrivedAfterTheBound", std::nullopt, "", false},
                      DecisionCase{"SkippedVersion", announcing("Beta V1.1.5"), "Beta V1.1.5", false},
                      DecisionCase{"AnotherVersionThanTheSkippedOne", announcing("Beta V1.1.6"), "Beta V1.1.5", true}),
    [](const ::testing::TestParamInfo<DecisionCase>& info) { return std::string(info.param.name); });

}  // namespace
