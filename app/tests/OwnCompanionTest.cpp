// The companion the program starts for itself: found where an install or
// the build tree puts it, answering on the port it chose, gone with the
// object; and nothing when no companion lies beside the program.
#include "app/OwnCompanion.h"
#include "net/HttpClient.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

bool answers(const std::string& origin) {
    HttpRequest request;
    request.url = origin + "/api/config/config.json";
    request.timeoutSeconds = 5;
    return HttpClient::fetchService(request).status.starts_with("200");
}

TEST(OwnCompanionTest, StartsBesideTheProgramAnswersAndStopsWithTheObject) {
    HttpClient::globalInit();
    std::string origin;
    {
        const OwnCompanion companion(MIVRA_TEST_PROGRAM_FOLDER, {});
        origin = companion.origin();
        ASSERT_TRUE(origin.starts_with("http://127.0.0.1:")) << origin;
        EXPECT_NE(origin, "http://127.0.0.1:38580") << "a free port of its own";
        EXPECT_TRUE(answers(origin));
    }
    EXPECT_FALSE(answers(origin));
}

TEST(OwnCompanionTest, NoCompanionBesideTheProgramGivesNoOrigin) {
    const TempDir folder;
    EXPECT_EQ(OwnCompanion::serverPath(folder.path().string()), "");
    EXPECT_EQ(OwnCompanion(folder.path().string(), {}).origin(), "");
}

}  // namespace
