#pragma once
#include <string>

// A language file of the given number of pairs in 100 lessons (1 to 100),
// phrases of everyday length, a quarter with sound files, three quarters in
// use; made once per run in a temporary folder.
const std::string& FileOf(int pairs);
