// The "服务" group: showing a stored choice is quiet, the user's clicks and
// a completed address are announced once each, and a self-hosted server
// without an http(s) address is no choice yet.
#include "ui/widgets/ServiceSettingsGroup.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QRadioButton>

namespace {

TEST(ServiceSettingsGroupTest, ShowingIsQuietAndEachNewChoiceIsAnnouncedOnce) {
    QWidget page;
    ServiceSettingsGroup group(&page);
    std::vector<ServiceChoice> made;
    QObject::connect(&group, &ServiceSettingsGroup::choiceMade, [&made](const ServiceChoice& c) { made.push_back(c); });

    group.showChoice({ServiceWay::SelfHosted, "http://127.0.0.1:3000"});
    EXPECT_TRUE(group.selfHostedButton()->isChecked());
    EXPECT_EQ(group.urlField()->text(), "http://127.0.0.1:3000");
    EXPECT_TRUE(made.empty());

    group.selfHostedButton()->click();  // the choice shown already
    group.demoButton()->click();
    group.demoButton()->click();
    group.directButton()->click();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].way, ServiceWay::Demo);
    EXPECT_EQ(made[1].way, ServiceWay::Direct);
}

TEST(ServiceSettingsGroupTest, ASelfHostedServerCountsOnceItsAddressIsAWebUrl) {
    QWidget page;
    ServiceSettingsGroup group(&page);
    std::vector<ServiceChoice> made;
    QObject::connect(&group, &ServiceSettingsGroup::choiceMade, [&made](const ServiceChoice& c) { made.push_back(c); });
    group.showChoice({});

    group.urlField()->clear();
    group.selfHostedButton()->click();
    EXPECT_TRUE(made.empty()) << "no address yet";
    for (const char* typed : {"127.0.0.1:3000", "ftp://host", " http://127.0.0.1:3000 "}) {
        group.urlField()->setText(typed);
        emit group.urlField()->editingFinished();
    }
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0], (ServiceChoice{ServiceWay::SelfHosted, "http://127.0.0.1:3000"}));
    // Another address is another choice; the same one again is not.
    emit group.urlField()->editingFinished();
    group.urlField()->setText("https://api.example.org");
    emit group.urlField()->editingFinished();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[1].selfHostedUrl, "https://api.example.org");
}

}  // namespace
