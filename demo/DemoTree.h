#pragma once
class TlxTreeViewNodes;

// Fills the collection with a sample tree: a small project with folders, files and
// settings, a few hundred nodes over several levels.
void FillDemoTree(TlxTreeViewNodes* Items);
