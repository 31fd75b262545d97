#include "VelmarApplication.h"

#include "DialogReportParams1.h"
#include "DialogReportParams2.h"
#include "MainDataModule.h"
#include "MainForm.h"
#include "MessageWait.h"
#include "ProgramFonts.h"
#include "SplashForm.h"
#include "TerminationSignals.h"
#include "WaitCursor.h"

#include <ApplicationError.h>
#include <DatabaseErrorHandler.h>
#include <QDebug>

VelmarApplication::VelmarApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    ProgramFonts::registerTahoma();
}

VelmarApplication::~VelmarApplication()
{
    destroyLongLivedObjects();
}

int VelmarApplication::run()
{
    m_terminated = false;
    endOnTerminationSignals();
    WaitCursor::start();
    auto splash = std::make_unique<TSplashForm>();
    splash->showAtOnce();

    std::exception_ptr failure;
    try {
        createLongLivedObjects();
        // The splash stays one more second; a request to end is taken here.
        MessageWait::run(SplashMilliseconds);
    } catch (...) {
        failure = std::current_exception();
    }
    splash.reset();
    WaitCursor::end();

    if (failure) {
        reportFailure(failure, true);
        destroyLongLivedObjects();
        return 1;
    }
    if (!m_terminated) {
        m_mainForm->show();
        exec();
    }
    destroyLongLivedObjects();
    return 0;
}

void VelmarApplication::terminate()
{
    m_terminated = true;
    quit();
}

bool VelmarApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportFailure(std::current_exception());
    }
    return false;
}

void VelmarApplication::endOnTerminationSignals()
{
    m_terminationSignals = std::make_unique<TerminationSignals>();
    connect(m_terminationSignals.get(), &TerminationSignals::received, this, [this] {
        // Ends every event loop, a modal window's too, then shuts down as usual.
        terminate();
        closeAllWindows();
    });
}

void VelmarApplication::createLongLivedObjects()
{
    m_mainDataModule = std::make_unique<TMainDataModule>();
    MainDataModule = m_mainDataModule.get();
    m_terminationSignals->install();
    m_mainForm = std::make_unique<TMainForm>();
    MainForm = m_mainForm.get();
    m_dialogReportParams1 = std::make_unique<TDialogReportParams1>();
    DialogReportParams1 = m_dialogReportParams1.get();
    m_dialogReportParams2 = std::make_unique<TDialogReportParams2>();
    DialogReportParams2 = m_dialogReportParams2.get();
}

void VelmarApplication::destroyLongLivedObjects()
{
    // In reverse order of creation; the data module goes last and closes the connection.
    m_dialogReportParams2.reset();
    m_dialogReportParams1.reset();
    m_mainForm.reset();
    m_mainDataModule.reset();
    m_terminationSignals.reset();
}

void VelmarApplication::reportFailure(const std::exception_ptr& failure, bool alsoOnStandardError)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        // A start that fails also says why on the terminal it was started from, if any.
        if (alsoOnStandardError)
            qCritical().noquote() << applicationTitle() + QStringLiteral(": ") +
                                         DatabaseErrorHandler().messageOf(error);
        showApplicationError(activeWindow(), error);
    } catch (...) {
        showUnknownApplicationError(activeWindow());
    }
}
