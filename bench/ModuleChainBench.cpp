#include "ModuleChainBench.h"

#include "MainDataModule.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <fb/Error.h>
#include <map>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct MoveTimes
{
    double reread = -1;
    double cpu = -1;
    double withGrid = -1;
};

// Times the delivery of the timer event that ends dtsSamples1's wait: the re-read of the whole
// chain below happens inside it. The wait timer is the dataset's own QTimer child.
class WaitEndClock : public QObject
{
public:
    explicit WaitEndClock(TMainDataModule* module) : m(module)
    {
        m_timer = m->dtsSamples1->findChild<QTimer*>();
        if (!m_timer)
            throw fb::Error(QStringLiteral("dtsSamples1 has no wait timer to time"));
        m_timer->installEventFilter(this);
        for (db::DataSet* dataSet : stageDataSets()) {
            connect(dataSet, &db::DataSet::afterOpen, this, [this, dataSet] {
                if (m_clock.isValid())
                    stageTimes[dataSet->objectName()].push_back(m_clock.nsecsElapsed() / 1e6);
            });
        }
    }

    std::vector<db::DataSet*> stageDataSets() const
    {
        return {m->dtsSamples1, m->dtsPlankton, m->dtsTaxonsP2, m->dtsDetails};
    }

    // Moves to the next visit (the first after the last) and runs the event loop until the
    // chain has been read for it. Returns the re-read's time and, with `gridReads`, the time
    // including the grid's reading of the counts.
    MoveTimes move()
    {
        m_times = MoveTimes();
        if (m->dtsStations->currentRow() + 1 >= m->dtsStations->recordCount())
            m->dtsStations->first();
        else
            m->dtsStations->next();
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        m_loop = nullptr;
        return m_times;
    }

    int counts = 0;
    std::map<QString, std::vector<double>> stageTimes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_timer && event->type() == QEvent::Timer) {
            m_clock.start();
            m_cpuStart = threadCpuMs();
            // Runs once the timer event, and with it the re-read, has returned.
            QMetaObject::invokeMethod(
                this, [this] { stop(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void stop()
    {
        m_times.reread = m_clock.nsecsElapsed() / 1e6;
        m_times.cpu = threadCpuMs() - m_cpuStart;
        db::DataSet* plankton = m->dtsPlankton;
        plankton->fetchAll();
        db::Field* name = plankton->field(QStringLiteral("TAXON_NAME"));
        for (int row = 0; row < plankton->recordCount(); ++row)
            name->displayText(row);
        counts += plankton->recordCount();
        m_times.withGrid = m_clock.nsecsElapsed() / 1e6;
        m_clock.invalidate();
        if (m_loop)
            m_loop->quit();
    }

    TMainDataModule* m;
    QTimer* m_timer = nullptr;
    QEventLoop* m_loop = nullptr;
    QElapsedTimer m_clock;
    double m_cpuStart = 0;
    MoveTimes m_times;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

ModuleChainResult measureModuleChain(const QString& databaseFile, int moves)
{
    qputenv("VELMAR_DATABASE", databaseFile.toLocal8Bit());
    TMainDataModule module;
    QEventLoop wait;
    while (!module.dtsDetails->isActive())
        wait.processEvents(QEventLoop::WaitForMoreEvents);

    WaitEndClock clock(&module);
    for (int i = 0; i < 10; ++i) // warm-up: statements prepared, caches filled
        clock.move();
    clock.counts = 0;
    clock.stageTimes.clear();
    std::vector<double> reread, cpu, withGrid;
    for (int i = 0; i < moves; ++i) {
        const MoveTimes times = clock.move();
        if (times.reread < 0)
            throw fb::Error(QStringLiteral("the chain was not read again after a move"));
        reread.push_back(times.reread);
        cpu.push_back(times.cpu);
        withGrid.push_back(times.withGrid);
    }
    ModuleChainResult result;
    result.moves = moves;
    result.medianMs = median(reread);
    result.worstMs = *std::max_element(reread.begin(), reread.end());
    result.cpuMedianMs = median(cpu);
    result.withGridMedianMs = median(withGrid);
    result.countsPerSample = double(clock.counts) / moves;
    for (db::DataSet* dataSet : clock.stageDataSets())
        result.stages.emplace_back(dataSet->objectName(), median(clock.stageTimes[dataSet->objectName()]));
    return result;
}
