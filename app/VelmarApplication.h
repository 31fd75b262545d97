#pragma once

#include <QApplication>
#include <exception>
#include <memory>

class TMainDataModule;
class TMainForm;
class TDialogReportParams1;
class TDialogReportParams2;
class TerminationSignals;

// The application object: runs start-up, the event loop and shutdown, and owns the long-lived
// objects, each reached through the global reference of its name.
class VelmarApplication : public QApplication
{
    Q_OBJECT

public:
    VelmarApplication(int& argc, char** argv);
    ~VelmarApplication() override;

    // Start-up, event loop and shutdown. Returns the exit status: 0, or 1 when start-up failed.
    int run();

    // Asks the run to end. Before the event loop starts it keeps the loop from running at all.
    void terminate();
    bool isTerminated() const { return m_terminated; }

    // The last chance for an error that a window's handler left uncaught: the error box shows
    // it and the event loop goes on.
    bool notify(QObject* receiver, QEvent* event) override;

    static constexpr int SplashMilliseconds = 1000;

private:
    void createLongLivedObjects();
    void destroyLongLivedObjects();
    void endOnTerminationSignals();
    static void reportFailure(const std::exception_ptr& failure, bool alsoOnStandardError = false);

    std::unique_ptr<TMainDataModule> m_mainDataModule;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<TDialogReportParams1> m_dialogReportParams1;
    std::unique_ptr<TDialogReportParams2> m_dialogReportParams2;
    std::unique_ptr<TerminationSignals> m_terminationSignals;
    bool m_terminated = false;
};
