#pragma once
class TComponent;
class TImageList;
class TlxTreeViewNodes;

// Fills the collection with a sample tree: a small project with folders, files and
// settings, a few hundred nodes over several levels.
void FillDemoTree(TlxTreeViewNodes* Items);

// The images FillDemoTree's nodes name, in a new image list of Owner's.
enum TDemoImage { diFolder, diOpenFolder, diDocument, diSettings, diNote };
TImageList* MakeDemoImages(TComponent* Owner);
