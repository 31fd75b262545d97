#pragma once

#include <QString>

// (b) on the data module itself: TMainDataModule on the benchmark database, dtsStations moved
// one visit on at a time; timed is the re-read of the chain below at the end of the 300 ms wait
// (samples, counts, sub-taxon counts, sub-taxa in one go), without the wait itself.
struct ModuleChainResult
{
    int moves = 0;
    double medianMs = 0;
    double worstMs = 0;
    // The same, plus what the taxon grid then reads: every count with its looked-up name.
    double withGridMedianMs = 0;
    double countsPerSample = 0;
};

// Throws fb::Error when the database can't be opened.
ModuleChainResult measureModuleChain(const QString& databaseFile, int moves);
