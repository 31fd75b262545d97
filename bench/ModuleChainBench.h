#pragma once

#include <QString>
#include <vector>

// (b) on the data module itself: TMainDataModule on the benchmark database, dtsStations moved
// one visit on at a time; timed is the re-read of the chain below at the end of the 300 ms wait
// (samples, counts, sub-taxon counts, sub-taxa in one go), without the wait itself.
struct ModuleChainResult
{
    int moves = 0;
    double medianMs = 0;
    double worstMs = 0;
    // CPU time of the UI thread for the re-read, which the embedded engine runs in that thread:
    // what the re-read costs when other processes compete for the processors.
    double cpuMedianMs = 0;
    // The same, plus what the taxon grid then reads: every count with its looked-up name.
    double withGridMedianMs = 0;
    double countsPerSample = 0;
    // When each dataset of the chain had been read, from the start of the re-read (medians).
    std::vector<std::pair<QString, double>> stages;
};

// Throws fb::Error when the database can't be opened.
ModuleChainResult measureModuleChain(const QString& databaseFile, int moves);
