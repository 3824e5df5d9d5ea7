#include "FGIntPrimeGeneration.h"
#include <chrono>
#include <random>

namespace {

constexpr std::array<quint32, 1228> buildTable()
{
    std::array<bool, 10000> composite{};
    std::array<quint32, 1228> t{};
    size_t n = 0;
    for (quint32 i = 2; i < 10000; ++i) {
        if (composite[i])
            continue;
        for (quint32 j = i * i; j < 10000; j += i)
            composite[j] = true;
        if (i != 2)
            t[n++] = i;
    }
    return t;
}

constexpr std::array<quint32, 1228> PrimeTable = buildTable();
static_assert(PrimeTable.front() == 3 && PrimeTable.back() == 9973);

} // namespace

const std::array<quint32, 1228>& fgPrimeTable() { return PrimeTable; }

bool fgTrialDivision(const TFGInt& n)
{
    if (!n.isOdd())
        return false;
    for (quint32 p : PrimeTable)
        if (fgModByInt(n, p) == 0)
            return false;
    return true;
}

bool fgMillerRabin(const TFGInt& n, int rounds)
{
    const TFGInt one = fgFromInt(1);
    const TFGInt nMinus1 = fgSub(fgAbs(n), one);
    TFGInt d = nMinus1;
    int s = 0;
    while (!d.isZero() && !d.isOdd()) {
        fgShiftRight1(d);
        ++s;
    }
    // Bases from the first 1,227 table primes (3 .. 9,967), seeded from the clock.
    std::mt19937 random(quint32(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> pick(0, 1226);
    for (int round = 0; round < rounds; ++round) {
        TFGInt z = fgPowMod(fgFromInt(PrimeTable[size_t(pick(random))]), d, n);
        if (fgCompare(z, one) == 0 || fgCompare(z, nMinus1) == 0)
            continue;
        bool passed = false;
        for (int i = 1; i < s; ++i) {
            z = fgSquareMod(z, n);
            if (fgCompare(z, nMinus1) == 0) {
                passed = true;
                break;
            }
            if (fgCompare(z, one) == 0)
                return false;
        }
        if (!passed)
            return false;
    }
    return true;
}

bool fgIsProbablePrime(const TFGInt& n, int rounds)
{
    return fgTrialDivision(n) && fgMillerRabin(n, rounds);
}

void fgNextPrime(TFGInt& n)
{
    const TFGInt two = fgFromInt(2);
    if (!n.isOdd())
        n = fgAdd(n, fgFromInt(1));
    do
        n = fgAdd(n, two);
    while (!fgIsProbablePrime(n, 4));
}
