#include "ModuleChainBench.h"

#include "MainDataModule.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <fb/Error.h>
#include <vector>

namespace {

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
    }

    // Moves to the next visit (the first after the last) and runs the event loop until the
    // chain has been read for it. Returns the re-read's time and, with `gridReads`, the time
    // including the grid's reading of the counts.
    std::pair<double, double> move()
    {
        if (m->dtsStations->currentRow() + 1 >= m->dtsStations->recordCount())
            m->dtsStations->first();
        else
            m->dtsStations->next();
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        m_loop = nullptr;
        return {m_reread, m_withGrid};
    }

    int counts = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_timer && event->type() == QEvent::Timer) {
            m_clock.start();
            // Runs once the timer event, and with it the re-read, has returned.
            QMetaObject::invokeMethod(
                this, [this] { stop(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void stop()
    {
        m_reread = m_clock.nsecsElapsed() / 1e6;
        db::DataSet* plankton = m->dtsPlankton;
        plankton->fetchAll();
        db::Field* name = plankton->field(QStringLiteral("TAXON_NAME"));
        for (int row = 0; row < plankton->recordCount(); ++row)
            name->displayText(row);
        counts += plankton->recordCount();
        m_withGrid = m_clock.nsecsElapsed() / 1e6;
        if (m_loop)
            m_loop->quit();
    }

    TMainDataModule* m;
    QTimer* m_timer = nullptr;
    QEventLoop* m_loop = nullptr;
    QElapsedTimer m_clock;
    double m_reread = -1;
    double m_withGrid = -1;
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
    std::vector<double> reread, withGrid;
    for (int i = 0; i < moves; ++i) {
        const auto [alone, grid] = clock.move();
        if (alone < 0)
            throw fb::Error(QStringLiteral("the chain was not read again after a move"));
        reread.push_back(alone);
        withGrid.push_back(grid);
    }
    ModuleChainResult result;
    result.moves = moves;
    result.medianMs = median(reread);
    result.worstMs = *std::max_element(reread.begin(), reread.end());
    result.withGridMedianMs = median(withGrid);
    result.countsPerSample = double(clock.counts) / moves;
    return result;
}
