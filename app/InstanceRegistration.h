#pragma once

#include <QString>
#include <memory>

class QLockFile;

// This run's registration under the name of its program file (without directory, in upper
// case), held from start to exit. Runs of program files of the same name, wherever they lie and
// however their names are cased, see each other; the system releases a crashed run's hold.
class InstanceRegistration
{
public:
    explicit InstanceRegistration(const QString& programFilePath);
    ~InstanceRegistration();
    InstanceRegistration(const InstanceRegistration&) = delete;
    InstanceRegistration& operator=(const InstanceRegistration&) = delete;

    static QString nameFor(const QString& programFilePath);

    const QString& name() const { return m_name; }
    // Whether another run of the same name held the registration when this one started.
    bool anotherRunExisted() const { return m_anotherRunExisted; }
    // The local channel on which the first run takes activation requests.
    QString channelName() const;

    // The registration of this process, if it made one.
    static InstanceRegistration* current();

private:
    QString m_name;
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    bool m_anotherRunExisted = false;
};
