#pragma once
// A database file in a temporary folder with an attachment, the two transactions the datasets
// use, and the datasets and data sources a test makes on it. The fixture owns them and closes
// them before the attachment detaches.

#include "TempDatabase.h"

#include <QObject>
#include <QVariant>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <fb/Attachment.h>
#include <fb/Transaction.h>
#include <memory>

class QWidget;

class DataFixture
{
public:
    explicit DataFixture(const QString& script);
    ~DataFixture();
    DataFixture(const DataFixture&) = delete;
    DataFixture& operator=(const DataFixture&) = delete;

    // A dataset on the fixture's connection, committing each change.
    db::DataSet* dataSet(const QString& name);
    db::DataSource* source(db::DataSet* dataSet);

    // One value read by a statement of its own in a fresh transaction: what is stored.
    QVariant stored(const QString& sql);

    fb::Attachment& attachment() { return m_attachment; }

private:
    TempDatabase m_database;
    fb::Attachment m_attachment;
    std::unique_ptr<fb::Transaction> m_read;
    std::unique_ptr<fb::Transaction> m_write;
    QObject m_owner; // parent of the datasets and sources
};

// Shows a top-level widget and makes it the active window (offscreen platform), so that focus
// and key events behave as on the screen.
void showActive(QWidget* window);
