#pragma once
// The program's name and version as shown to the user and stored in settings.
inline constexpr const char* kProductName = "Mivra Music";
// The release number alone, as `--version` and the package give it: the
// project's version, set in the build.
extern const char* const kVersionNumber;
// The version text the user sees and the update decision compares with the
// announced one: the release stage, then the number.
extern const char* const kProductVersion;
