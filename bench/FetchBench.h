#pragma once

#include <QString>

struct BenchConnection;

// (a) Opening a dataset with FetchAll against reading the same statement through kit/fb alone
// (prepare, open the cursor, append every row to one list), and (c) the heap each fetched row
// takes in either. Times are medians of `repeats` alternating runs.
struct FetchResult
{
    QString sql;
    int rows = 0;
    double dataSetMs = 0;
    double fbMs = 0;
    double dataSetBytesPerRow = 0;
    double fbBytesPerRow = 0;
    double ratio() const { return fbMs > 0 ? dataSetMs / fbMs : 0; }
};

FetchResult measureFetch(BenchConnection& connection, const QString& sql, int repeats);
