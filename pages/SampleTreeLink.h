#pragma once

#include "SampleTree.h"

#include <QPointer>

namespace ui {
class DBTreeView;
}

// Lends the page's sample tree to the data module, which rebuilds it after a change of visit.
// Registered for as long as the link lives.
class TSampleTreeLink : public SampleTree
{
public:
    explicit TSampleTreeLink(ui::DBTreeView* tree);
    ~TSampleTreeLink() override;

    TSampleTreeLink(const TSampleTreeLink&) = delete;
    TSampleTreeLink& operator=(const TSampleTreeLink&) = delete;

    void beginUpdate() override;
    void rebuild() override;
    void endUpdate() override;

private:
    QPointer<ui::DBTreeView> m_tree;
};
