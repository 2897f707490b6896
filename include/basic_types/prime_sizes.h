#pragma once

#include <cstdint>

// The bucket counts of the foundation's hash tables: the smallest prime above 2^k for k = 0 to 31. Answers
// the first of the first 31 that is greater than n, else the last, 2147483659.
uint32_t nextPrime(uint32_t n);
