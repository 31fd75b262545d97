#pragma once

// What the data module needs of the main window's sample tree: after the current visit has
// changed, the tree is rebuilt from dtsSamples1 inside an update bracket, so that it isn't
// drawn meanwhile. The main window registers it with TMainDataModule::setSampleTree() and
// removes it again before it goes away; without one the rebuild waits.
class SampleTree
{
public:
    virtual ~SampleTree() = default;
    virtual void beginUpdate() = 0;
    virtual void rebuild() = 0;
    // Runs after every beginUpdate(), also when rebuild() has thrown.
    virtual void endUpdate() = 0;

protected:
    SampleTree() = default;
    SampleTree(const SampleTree&) = default;
    SampleTree& operator=(const SampleTree&) = default;
};
