// Navigation without a window: where each way of leaving a page leads.
#include "browse/Router.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <ostream>
#include <string>
#include <vector>

namespace {

// What a user does, one step at a time.
struct Step {
    enum Kind { Open, Arrive, Back, BackFrom } kind;
    Destination destination;   // Open: where; Arrive/BackFrom: its place
    Place from = Place::Home;  // Open only
};

struct Journey {
    const char* name;
    std::vector<Step> steps;
    Place expectedCurrent;
    std::vector<Place> expectedReturns;  // the `returned` signals, in order
};

void PrintTo(const Journey& journey, std::ostream* out) { *out << journey.name; }

class RouterJourneyTest : public testing::TestWithParam<Journey> {};

TEST_P(RouterJourneyTest, EndsWhereTheUserExpects) {
    Router router;
    QSignalSpy returned(&router, &Router::returned);
    for (const Step& step : GetParam().steps) {
        switch (step.kind) {
            case Step::Open: router.open(step.destination, step.from); break;
            case Step::Arrive: router.arrived(step.destination.place); break;
            case Step::Back: router.back(); break;
            case Step::BackFrom: router.backFrom(step.destination.place); break;
        }
    }
    EXPECT_EQ(router.current(), GetParam().expectedCurrent);
    std::vector<Place> returns;
    for (const QList<QVariant>& signal : returned) returns.push_back(signal.at(0).value<Place>());
    EXPECT_EQ(returns, GetParam().expectedReturns);
}

const Step kArriveSearch{Step::Arrive, {Place::Search, ""}};

INSTANTIATE_TEST_SUITE_P(
    Journeys, RouterJourneyTest,
    testing::Values(
        Journey{"PlaylistBackToWhereItWasOpened",
                {{Step::Open, {Place::Playlist, "7"}, Place::Charts}, {Step::Back, {}}},
                Place::Charts,
                {Place::Charts}},
        Journey{"EachPlaceKeepsItsOwnWayBack",
                {kArriveSearch,
                 {Step::Open, {Place::Album, "a"}, Place::Search},
                 {Step::Open, {Place::Artist, "x"}, Place::Album},
                 {Step::Back, {}},
                 {Step::Back, {}}},
                Place::Search,
                {Place::Album, Place::Search}},
        Journey{"ATabNothingOpenedGoesHome",
                {{Step::Arrive, {Place::Charts, ""}}, {Step::Back, {}}},
                Place::Home,
                {Place::Home}},
        Journey{"OpeningAPlaceFromItselfKeepsItsWayBack",
                {{Step::Open, {Place::Artist, "x"}, Place::Discover},
                 {Step::Open, {Place::Artist, "y"}, Place::Artist},
                 {Step::Back, {}}},
                Place::Discover,
                {Place::Discover}},
        Journey{"ALateFailureMovesNobodyWhoHasMovedOn",
                {{Step::Open, {Place::Album, "a"}, Place::Home}, kArriveSearch, {Step::BackFrom, {Place::Album, ""}}},
                Place::Search,
                {}},
        Journey{"AFailureOnThePlaceShownGoesBack",
                {{Step::Open, {Place::Album, "a"}, Place::Artist}, {Step::BackFrom, {Place::Album, ""}}},
                Place::Artist,
                {Place::Artist}}),
    [](const testing::TestParamInfo<Journey>& info) { return std::string(info.param.name); });

TEST(RouterTest, OpenNamesTheDestinationAndHandsOnPlayQueueAndMv) {
    Router router;
    QSignalSpy opened(&router, &Router::opened);
    QSignalSpy played(&router, &Router::playRequested);
    QSignalSpy queued(&router, &Router::queueRequested);
    QSignalSpy mvs(&router, &Router::mvRequested);

    router.openAllArtists("周", Place::Search);
    router.play("42");
    router.queue({"1", "2"});
    router.playMv("9");

    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).value<Destination>(), (Destination{Place::AllArtists, "周"}));
    EXPECT_EQ(router.current(), Place::AllArtists);
    EXPECT_EQ(played.at(0).at(0).value<std::string>(), "42");
    EXPECT_EQ(queued.at(0).at(0).value<std::vector<std::string>>(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(mvs.at(0).at(0).value<std::string>(), "9");
}

}  // namespace
