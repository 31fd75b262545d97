#pragma once

#include <functional>
#include <optional>

struct BenchConnection;

// (b) The zooplankton chain read again after a move to another visit: the samples of the visit,
// the taxon counts of its first sample, the sub-taxon counts of the first count and the
// sub-taxa list, as one go.
struct ChainResult
{
    double medianMs = 0;
    double worstMs = 0;
    int moves = 0;
    double readsPerMove = 0; // datasets read again per move, where the chain counts them
};

// A chain to measure: `moveToNextVisit` moves the visit dataset one row on and returns once
// the whole chain below has been read again (false at the last visit); `rewind` goes back to
// the first visit.
struct ChainUnderTest
{
    std::function<bool()> moveToNextVisit;
    std::function<void()> rewind;
    std::function<int()> reads; // datasets read so far (optional)
};

ChainResult measureChain(const ChainUnderTest& chain, int moves);

// The chain built here from kit/db with the statements and settings of the data module's
// datasets, each detail following its master at once (what a waiting chain does when its
// 300 ms wait ends).
ChainResult measureEngineChain(BenchConnection& connection, int moves);

