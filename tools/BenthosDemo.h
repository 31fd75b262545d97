#pragma once

#include "DemoRandom.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <fb/Statement.h>

namespace fb {
class Attachment;
class Transaction;
} // namespace fb

namespace dbtool {

struct StationPosition;

// The zoobenthos half of the demo collection: years, benthos samples with readings, counts.
class BenthosDemo
{
public:
    BenthosDemo(const fb::Attachment& db, fb::Transaction& transaction, DemoRandom& random, int scale);

    // One survey year with its samples; commits (retaining) at the end.
    void addYear(int year);
    // Each generator with the last key used for it.
    QList<QPair<QString, int>> lastKeys() const;

private:
    void addSample(const StationPosition& station, const QDate& date);
    void addCounts(int sampleId);

    fb::Transaction& m_transaction;
    DemoRandom& m_random;
    int m_scale;
    fb::Statement m_insertYear;
    fb::Statement m_insertSample;
    fb::Statement m_insertCount;
    int m_yearId = 0;
    int m_sampleId = 0;
    int m_countId = 0;
};

} // namespace dbtool
