#include "net/ServiceCipher.h"

#include <gtest/gtest.h>

#include <string>

// The vectors were made with the reference API server's own functions, the
// weapi secret key fixed.
namespace {

struct WeapiVector {
    std::string json;
    std::string secretKey;
    std::string params;
    std::string encSecKey;
};

const WeapiVector kWeapiVectors[] = {
    {"{\"c\":\"[{\\\"id\\\":1001}]\",\"e_r\":false,\"csrf_token\":\"\"}", "abcdefghijklmnop",
     "stcT8hbEcBipoi7sPoOj8fTXByYdA2pNHai8heekThjj8bVkoUurEdM38cX5I68CInlZFc9KixHsjur4/GdEvetzT8OlNIKQcrlqDR/"
     "n8lSvZ5HsarazTgZrSqnjqPzC",
     "d15a1683c992095d0c234c19966605c5c5964911268bbeda8cb8d08d834913e59d53b32358903a121b5fca784c1f5ae44951fd02524df58ec"
     "c98e52cc7cf8689b42c2e93ddf05b0592512d87f5960467e2f086c018849d76014d323500e30f13ef4cafbb0cf5a66731a3f1776c75ca35d0"
     "062dac70a3e33245afabcf47938487"},
    {"{\"s\":\"晴天 周杰伦\",\"type\":\"1\",\"limit\":\"18\",\"offset\":0}", "Z9y8X7w6V5u4T3s2",
     "goPz2tPRislDO+yXl+"
     "lNB3yKIasJXeQt583RyAg5rtdqw0zbRKGR2OKYWKdBRFBlGti45p9Fh6Pk4m8b8xBCwiaGtwo7KZi9CTZj97HkgSxtlrCmiz5nAY52lYqArEeU",
     "c3e538019070e5a41727617a682b10d1f1610535f94bb6e36362a60f8d918d5be1e49f1afe6a862651e15ba4415d309b6cd1452b7a3fc5d45"
     "2bbfe9b11ef36466a161d5a8242a1b329fdb0926968edda3d9ff8b1b594326c76bed49a56373dc84d08c04483a309790f4d0b02929ccb7527"
     "1fcf1c48757e8a864013fce031bc69"},
    {"{}", "0000000000000000", "xLsSlciYMS2kckNkDCEBCRDzlTSlO8qfbdHI3mc0l0Y=",
     "babc57ca9e9ffb0a879ae290ac6cba6f60620aa9ae3b36a84585e23bbc73d73b13a2ebab4aa2ee80544d255727adc5a04db613d77d02a62a5"
     "2b3a03134d16f191d54675f560f797c7f03e3a30c43df8b1b49878fd225b62f5f78041427debc3e95b93582f130618630702621da4eda9c71"
     "af91836cc39ab3b760b033643a1889"},
};

TEST(ServiceCipherTest, WeapiMatchesTheReferenceAndOpensWithItsKey) {
    for (const WeapiVector& v : kWeapiVectors) {
        const ServiceCipher::WeapiForm form = ServiceCipher::weapi(v.json, v.secretKey);
        EXPECT_EQ(form.params, v.params) << v.json;
        EXPECT_EQ(form.encSecKey, v.encSecKey) << v.json;
        EXPECT_EQ(ServiceCipher::openWeapi(v.params, v.secretKey), v.json);
        EXPECT_EQ(ServiceCipher::openWeapi(v.params, "zzzzzzzzzzzzzzzz"), std::nullopt) << "another key";
    }
    EXPECT_EQ(ServiceCipher::openWeapi("not base64!", "abcdefghijklmnop"), std::nullopt);
}

struct EapiVector {
    std::string uri;
    std::string json;
    std::string params;
};

const EapiVector kEapiVectors[] = {
    {"/api/song/lyric", "{\"id\":\"1001\",\"tv\":-1,\"lv\":-1,\"rv\":-1,\"kv\":-1,\"_nmclfl\":1,\"e_r\":false}",
     "9B1595479B79266065903BA79E9883029338432CD7D98D1A3626E997A2C53121F8BD1D9B6AFC689115F9112FFC5C126D676A140F08792FF60"
     "6B96D98A645A74D88584D5C0A24B08F621E67B683ACB973974DF33BAF679F7F26812C60B47F26C6F3AE176ECEF7F19B5D4042582D0FC11A98"
     "90A81151121CDD67BF8B3FBE8E8D7C64ABA4DFA5CCEDBC49310CDF6A849668"},
    {"/api/search/get", "{\"s\":\"晴天\",\"type\":\"1\"}",
     "1AF0E93B0E3EA03CE4E7F1B6AD7BD32BC198D7B70109AB343E0FC0C4A8F27C965817DFB6318A4DBB7F44CD9CD14FDD2C136A84EB7F903B24D"
     "778F168E728E3D7CE6429330D1F1E24366C3CC6092905B9B773154F2018B93563AB005259EC09373C8A07E721C4673B6EC67C959B4F21E0"},
};

TEST(ServiceCipherTest, EapiMatchesTheReferenceAndOpensToItsUriAndJson) {
    for (const EapiVector& v : kEapiVectors) {
        EXPECT_EQ(ServiceCipher::eapi(v.uri, v.json), v.params) << v.uri;
        const auto opened = ServiceCipher::openEapi(v.params);
        ASSERT_TRUE(opened) << v.uri;
        EXPECT_EQ(opened->uri, v.uri);
        EXPECT_EQ(opened->json, v.json);
    }
}

TEST(ServiceCipherTest, EapiRefusesWhatIsNotASealedMessage) {
    const std::string sealed = ServiceCipher::eapi("/api/song/lyric", "{}");
    std::string flipped = sealed;
    flipped[flipped.size() - 40] = flipped[flipped.size() - 40] == 'A' ? 'B' : 'A';  // inside the digest block
    const std::string cases[] = {"",      "XYZ",
                                 "0",     sealed.substr(0, sealed.size() - 2),
                                 flipped, ServiceCipher::linuxapi("{\"no\":\"separators\"}")};
    for (const std::string& params : cases) EXPECT_EQ(ServiceCipher::openEapi(params), std::nullopt) << params;
}

struct LinuxapiVector {
    std::string json;
    std::string eparams;
};

const LinuxapiVector kLinuxapiVectors[] = {
    {"{\"method\":\"POST\",\"url\":\"https://music.163.com/api/song/lyric\",\"params\":{\"id\":\"1001\"}}",
     "A0D9583F4C5FF68DE851D2893A49DE98FAFB24399F27B4F7E74C64B6FC49A965CFA972FA5EA3D6247CD6247C8198CB876BA9315A2F4B205B4"
     "E87A713A33C1C5D87474C21F7E7678C009DB13DAB3D3B16A8BF396FAF7B08E49EB6AAEC31BF0F3F"},
    {"{\"a\":\"é\"}", "53A3FE4D228FCE7EBBDBB684177A0ACA"},
};

TEST(ServiceCipherTest, LinuxapiMatchesTheReferenceAndOpens) {
    for (const LinuxapiVector& v : kLinuxapiVectors) {
        EXPECT_EQ(ServiceCipher::linuxapi(v.json), v.eparams);
        EXPECT_EQ(ServiceCipher::openLinuxapi(v.eparams), v.json);
    }
    EXPECT_EQ(ServiceCipher::openLinuxapi("ABC"), std::nullopt);
}

TEST(ServiceCipherTest, SecretKeyTakesOneLetterOrDigitPerByte) {
    EXPECT_EQ(ServiceCipher::weapiSecretKeyFrom(std::string(16, '\0')), "aaaaaaaaaaaaaaaa");
    EXPECT_EQ(ServiceCipher::weapiSecretKeyFrom(std::string("\x01\x3d\x3e\xff", 4)), "b9ah");  // 255 % 62 = 7
    EXPECT_EQ(ServiceCipher::weapiSecretKeyFrom(std::string(20, 'A')).size(), 16u);
}

}  // namespace
