#pragma once
// Runs another program (the ffmpeg encoder) and waits for it.
#include <string>
#include <vector>

// Starts `arguments[0]` found on PATH with the given arguments, its standard
// input reading nothing; true when it exits with status 0.
bool runCommand(const std::vector<std::string>& arguments);
