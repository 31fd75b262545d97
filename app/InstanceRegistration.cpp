#include "InstanceRegistration.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <unistd.h>

namespace {

InstanceRegistration* currentRegistration = nullptr;

} // namespace

InstanceRegistration::InstanceRegistration(const QString& programFilePath)
    : m_name(nameFor(programFilePath))
      // Each user has runs of their own, as a session has its own named objects.
      ,
      m_key(QStringLiteral("%1-velmar-instance-%2").arg(m_name).arg(getuid())),
      m_lock(std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(m_key + QStringLiteral(".lock"))))
{
    // Never stale while its holder lives, however long the run takes.
    m_lock->setStaleLockTime(0);
    m_anotherRunExisted = !m_lock->tryLock(0);
    currentRegistration = this;
}

InstanceRegistration::~InstanceRegistration()
{
    if (currentRegistration == this)
        currentRegistration = nullptr;
}

QString InstanceRegistration::nameFor(const QString& programFilePath)
{
    return QFileInfo(programFilePath).fileName().toUpper();
}

QString InstanceRegistration::channelName() const
{
    return m_key;
}

InstanceRegistration* InstanceRegistration::current()
{
    return currentRegistration;
}
