#pragma once
// The program's name and version as shown to the user and stored in settings.
inline constexpr const char* kProductName = "Mivra Music";
inline constexpr const char* kProductVersion = "Beta V1.1.4";
