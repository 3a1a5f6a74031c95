#pragma once

// The program's version as its title shows it ("Quillmere V1.02").
inline constexpr const char* kProgramName = "Quillmere";
inline constexpr const char* kProgramVersion = "V1.02";
