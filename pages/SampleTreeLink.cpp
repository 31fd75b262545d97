#include "SampleTreeLink.h"

#include "MainDataModule.h"

#include <ui/DBTreeView.h>

TSampleTreeLink::TSampleTreeLink(ui::DBTreeView* tree) : m_tree(tree)
{
    if (MainDataModule)
        MainDataModule->setSampleTree(this);
}

TSampleTreeLink::~TSampleTreeLink()
{
    if (MainDataModule && MainDataModule->sampleTree() == this)
        MainDataModule->setSampleTree(nullptr);
}

void TSampleTreeLink::beginUpdate()
{
    if (m_tree)
        m_tree->beginUpdate();
}

void TSampleTreeLink::rebuild()
{
    if (m_tree)
        m_tree->rebuild();
}

void TSampleTreeLink::endUpdate()
{
    if (m_tree)
        m_tree->endUpdate();
}
