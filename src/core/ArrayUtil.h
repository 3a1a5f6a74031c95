#pragma once
#include <cstdint>
#include <random>
#include <vector>

#include "Bytes.h"

// Uniform random reordering (Fisher-Yates) on the program's generator, which
// is seeded once from the clock. Empty and one-element arrays stay as they are.
void Shuffle(std::vector<int32_t>& values);

// The same on a generator the caller hands in (tests, reproducible runs).
void Shuffle(std::vector<int32_t>& values, std::mt19937& engine);

// The program's generator.
std::mt19937& RandomEngine();

// A new array without the bytes from start to start + length - 1. A length
// beyond the array's size gives an empty array; a range that reaches past the
// end is cut at the end.
TBytes DeleteRange(const TBytes& bytes, int64_t start, int64_t length);

// Same size and equal elements at every index.
bool IntArraysEqual(const std::vector<int32_t>& a, const std::vector<int32_t>& b);
