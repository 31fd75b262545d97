// The module's datasets as a whole: making them, tying them to the connection, and the sample
// tree they rebuild. The datasets themselves are defined by chain in ZooplanktonChain.cpp,
// ZoobenthosChain.cpp, MapAndChartData.cpp and ReportData.cpp.

#include "MainDataModule.h"

db::DataSet* TMainDataModule::newDataSet(const QString& name, Access access)
{
    auto* dataSet = new db::DataSet(this);
    dataSet->setObjectName(name);
    m_dataSets.emplace_back(dataSet, access);
    // The delayed re-read of a detail has no caller to catch its failure.
    connect(dataSet, &db::DataSet::errorOccurred, this, &TMainDataModule::dataSetError);
    return dataSet;
}

db::DataSource* TMainDataModule::newDataSource(const QString& name, db::DataSet* dataSet, bool autoEdit)
{
    auto* source = new db::DataSource(this);
    source->setObjectName(name);
    source->setDataSet(dataSet);
    source->setAutoEdit(autoEdit);
    return source;
}

void TMainDataModule::bindDataSets()
{
    for (const auto& [dataSet, access] : m_dataSets) {
        dataSet->setAttachment(&*m_database);
        dataSet->setTransaction(&*m_readTransaction);
        dataSet->setUpdateTransaction(access == Access::Updates ? &*m_writeTransaction : nullptr);
        dataSet->setSchemaInfo(&m_schemaInfo);
    }
}

void TMainDataModule::setSampleTree(SampleTree* tree)
{
    m_sampleTree = tree;
}

SampleTree* TMainDataModule::sampleTree() const
{
    return m_sampleTree;
}
