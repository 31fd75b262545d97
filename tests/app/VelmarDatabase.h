#pragma once
// "DATA_Velmar.fdb" with the real schema and reference lists in a fresh temporary folder, plus
// an optional script of the test's own: a copy of a template that each test program makes once.

#include <DatabaseBuilder.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fb/Attachment.h>
#include <fb/Error.h>
#include <fb/Script.h>

class VelmarDatabase
{
public:
    explicit VelmarDatabase(const QString& script = {})
    {
        if (!m_dir.isValid())
            throw fb::Error(QStringLiteral("No temporary folder"));
        m_params.database = m_dir.filePath(QStringLiteral("DATA_Velmar.fdb"));
        m_params.password = QStringLiteral("plumbline");
        if (!QFile::copy(templateFile(), m_params.database))
            throw fb::Error(QStringLiteral("Can't copy the template database"));
        QFile::setPermissions(m_params.database, QFile::ReadOwner | QFile::WriteOwner);
        if (!script.isEmpty()) {
            fb::Attachment db = attach();
            fb::Script(script).run(db);
            db.detach();
        }
    }

    VelmarDatabase(const VelmarDatabase&) = delete;
    VelmarDatabase& operator=(const VelmarDatabase&) = delete;

    QString path() const { return m_params.database; }
    QString dirPath() const { return m_dir.path(); }
    const fb::ConnectionParams& params() const { return m_params; }
    fb::Attachment attach() const { return fb::Attachment::attach(m_params); }

private:
    static QString templateFile()
    {
        static QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("template.fdb"));
        if (!QFile::exists(file)) {
            dbtool::BuildOptions options;
            options.password = QStringLiteral("plumbline");
            dbtool::DatabaseBuilder::create(file, options);
        }
        return file;
    }

    QTemporaryDir m_dir;
    fb::ConnectionParams m_params;
};
