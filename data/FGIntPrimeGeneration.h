#pragma once
// Probable-prime search for the stored-password cipher: trial division by the odd primes
// below 10,000 and Miller-Rabin rounds with random small-prime bases.
#include "FGInt.h"
#include <array>

// The 1,228 odd primes from 3 to 9,973 in ascending order.
const std::array<quint32, 1228>& fgPrimeTable();

// False for an even value and for a value that one of the table primes divides (a table
// prime itself included); True otherwise.
bool fgTrialDivision(const TFGInt& n);
// Miller-Rabin with the given number of rounds; n odd and above the table primes.
bool fgMillerRabin(const TFGInt& n, int rounds);
// Trial division, and Miller-Rabin when that passes.
bool fgIsProbablePrime(const TFGInt& n, int rounds);
// Makes n odd, then steps by 2 (the odd value itself is not tried) until a value passes
// the probable-prime test with four rounds.
void fgNextPrime(TFGInt& n);
