#include "FetchBench.h"

#include "BenchConnection.h"

#include <QElapsedTimer>
#include <algorithm>
#include <db/DataSet.h>
#include <fb/Statement.h>
#include <malloc.h>
#include <vector>

namespace {

// Heap in use, with the large blocks that malloc maps separately.
size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct Run
{
    double ms = 0;
    size_t heapBytes = 0;
    int rows = 0;
};

Run fetchThroughFb(BenchConnection& c, const QString& sql)
{
    const size_t before = heapInUse();
    QElapsedTimer timer;
    timer.start();
    fb::Statement statement(c.attachment, c.read, sql);
    fb::ResultSet rows = statement.openCursor(c.read);
    QVariantList values;
    int count = 0;
    while (rows.fetchNext()) {
        rows.appendRow(values);
        ++count;
    }
    Run run;
    run.ms = timer.nsecsElapsed() / 1e6;
    run.heapBytes = heapInUse() - before;
    run.rows = count;
    return run;
}

Run fetchThroughDataSet(BenchConnection& c, const QString& sql)
{
    const size_t before = heapInUse();
    QElapsedTimer timer;
    timer.start();
    db::DataSet dataSet;
    dataSet.setAttachment(&c.attachment);
    dataSet.setTransaction(&c.read);
    dataSet.setSchemaInfo(&c.schema);
    dataSet.setOptions(db::Option::FetchAll);
    dataSet.setPrepareOptions(db::PrepareOption::SqlInt64ToBcd | db::PrepareOption::SetRequiredFields);
    dataSet.setSelectSql(sql);
    dataSet.open();
    Run run;
    run.ms = timer.nsecsElapsed() / 1e6;
    run.heapBytes = heapInUse() - before;
    run.rows = dataSet.recordCount();
    return run;
}

} // namespace

FetchResult measureFetch(BenchConnection& connection, const QString& sql, int repeats)
{
    // Warm the page cache and the metadata the datasets read once per attachment.
    fetchThroughFb(connection, sql);
    fetchThroughDataSet(connection, sql);
    std::vector<double> fbTimes, dataSetTimes;
    FetchResult result;
    result.sql = sql;
    for (int i = 0; i < repeats; ++i) {
        const Run fb = fetchThroughFb(connection, sql);
        const Run ds = fetchThroughDataSet(connection, sql);
        fbTimes.push_back(fb.ms);
        dataSetTimes.push_back(ds.ms);
        result.rows = ds.rows;
        if (ds.rows > 0) {
            result.fbBytesPerRow = double(fb.heapBytes) / fb.rows;
            result.dataSetBytesPerRow = double(ds.heapBytes) / ds.rows;
        }
    }
    result.fbMs = median(fbTimes);
    result.dataSetMs = median(dataSetTimes);
    return result;
}
