#pragma once
// A database file of its own for one test: made in a fresh temporary folder, optionally filled
// by an SQL script, and removed with the folder when the object goes away. Every attachment to
// it must be closed first.

#include "fb/Attachment.h"
#include "fb/Error.h"
#include "fb/Script.h"

#include <QTemporaryDir>

class TempDatabase
{
public:
    // Creates <temporary folder>/<fileName> with the WIN1251 default character set and runs
    // `script` (fb::Script syntax) in it. Throws fb::Error when the database can't be made.
    explicit TempDatabase(const QString& script = {}, const QString& fileName = QStringLiteral("test.fdb"))
    {
        if (!m_dir.isValid())
            throw fb::Error(QStringLiteral("Can't create a temporary folder: %1").arg(m_dir.errorString()));
        m_params.database = m_dir.filePath(fileName);
        m_params.user = QStringLiteral("SYSDBA");
        m_params.password = QStringLiteral("plumbline");
        m_params.forcedWrites = false; // a test's file needn't survive a power cut
        fb::Attachment attachment = fb::Attachment::create(m_params);
        if (!script.isEmpty())
            fb::Script(script).run(attachment);
        attachment.detach();
    }

    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    QString path() const { return m_params.database; }
    QString dirPath() const { return m_dir.path(); }
    const fb::ConnectionParams& params() const { return m_params; }
    fb::Attachment attach() const { return fb::Attachment::attach(m_params); }

private:
    QTemporaryDir m_dir;
    fb::ConnectionParams m_params;
};
