#pragma once
// Handing the program over to the updater it carries, when the maker
// announces another version.
#include "base/AppSettings.h"

#include <QByteArray>
#include <functional>
#include <string>

// The updater's file name beside the executable.
inline constexpr const char* kUpdaterFileName = "MivraUpDate.exe";

// Starts the executable at the path detached, without parameters; false
// when it could not be started.
using ProgramStarter = std::function<bool(const std::string& path)>;

// The updater program the main program carries.
QByteArray carriedUpdater();

// Records the executable's full path in `Setting`/`Path`, writes `updater`
// beside it as "MivraUpDate.exe" (under a temporary name first, executable,
// then renamed over any file there) and starts it. Only when it started is
// `Data`/`UpDateLog` set to "true" and the result true: the caller ends the
// program. When the folder cannot be written or the start fails, nothing of
// the updater is left behind and the program carries on.
bool handOverToUpdater(const AppSettings& settings, const std::string& executablePath, const QByteArray& updater,
                       const ProgramStarter& start);

// The system's way: a detached process.
bool startDetachedProgram(const std::string& path);
