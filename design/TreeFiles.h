#pragma once
// Loading a tree file into a control without losing its tree to a bad file.
#include <string>

class TCustomlxTreeView;

// Reads the file into the control. The control empties its tree before it reads, so
// when the file holds no tree, or a broken one, the tree as it was is put back and the
// error propagates.
void LoadTreeFileKeepingTree(TCustomlxTreeView* Tree, const std::string& FileName);
