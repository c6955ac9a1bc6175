// The MD5 digest and the signature built from it.
#include "maintenance/ServiceCookieSignature.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceCookieSignature, IsTheMd5OfPrefixAndTimestamp) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("The quick brown fox jumps over the lazy dog"), "9e107d9d372bb6826bd81d3542a419d6");
    EXPECT_EQ(serviceCookieSignature("1577836800"), md5Hex(std::string(MIVRA_SIGN_PREFIX) + "1577836800"));
    EXPECT_EQ(std::string(MIVRA_SIGN_PREFIX).size(), 1u);
}

TEST(ServiceCookieSignature, DefaultPrefixSignsAsTheMakerExpects) {
    if (std::string(MIVRA_SIGN_PREFIX) != "m") GTEST_SKIP() << "built with another prefix";
    EXPECT_EQ(serviceCookieSignature("1577836800"), "ac7fbdb66aa6a4370bc13e998f167d12");
}

}  // namespace
