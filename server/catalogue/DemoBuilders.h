#pragma once
// The parts of the demo catalogue, each filled in by its own file, and the
// ids the parts share.
#include <cstdint>
#include <string>

#include "server/catalogue/Catalogue.h"

namespace demo {

// Milliseconds since 1970 of a date at 08:00 China time (midnight UTC).
std::int64_t dateMs(int year, int month, int day);
// "YYYY-MM-DD" of such a time.
std::string dateText(std::int64_t ms);

// Users.
inline constexpr Id kDemoUser = 1490000001;    // the account the QR login logs in
inline constexpr Id kEditorUser = 1463586082;  // the service's own editors
inline constexpr Id kNightOwlUser = 1500000003;
inline constexpr Id kTravellerUser = 1500000004;
inline constexpr Id kEveUser = 1500000005;
inline constexpr Id kLinXiaUser = 1500000011;
inline constexpr Id kShirakawaUser = 1500000012;
inline constexpr Id kZoeUser = 1500000013;

// Artists.
inline constexpr Id kLinXia = 12138001;
inline constexpr Id kZhouYe = 12138002;  // the artist with 50 MVs
inline constexpr Id kGalaxyTravellers = 12138003;
inline constexpr Id kNanFeng = 12138004;
inline constexpr Id kShirakawa = 12138005;
inline constexpr Id kDawnSignal = 12138006;
inline constexpr Id kHanByeol = 12138007;
inline constexpr Id kMilkyWayBand = 12138008;
inline constexpr Id kZoe = 12138009;
inline constexpr Id kNorthboundEcho = 12138010;
inline constexpr Id kMoonlightRadio = 12138011;
inline constexpr Id kMcArnold = 12138012;
inline constexpr Id kEtudeStudio = 12138013;  // the artist with 25 albums

// Songs, albums and MVs other parts point at.
inline constexpr Id kFirstEtudeSong = 2200000001;  // beyond 2^31, like newer service ids
inline constexpr int kEtudeCount = 500;
inline constexpr Id kFirstEtudeAlbum = 160001;
inline constexpr Id kNeonDriveAlbum = 150014;
inline constexpr Id kSummerLetterSong = 1900001001;
inline constexpr Id kCafeLumiereSong = 1900001033;
inline constexpr Id kFirstLiveMv = 10950001;

// Playlists.
inline constexpr Id kFiveHundredPlaylist = 8806287654;  // beyond 2^32
inline constexpr Id kSummerSoundsPlaylist = 7000000030;

void addPeople(CatalogueData& data);
void addMusic(CatalogueData& data);
void addVideos(CatalogueData& data);
void addPlaylists(CatalogueData& data);
void addHome(CatalogueData& data);

}  // namespace demo
