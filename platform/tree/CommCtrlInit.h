#pragma once
// Registration of the tree window classes: the tree itself (WC_TREEVIEWA), its
// in-place edit box (WC_EDITA) and its tooltip window (TOOLTIPS_CLASSA).

// The class group of the tree windows, as the application's initialisation names it.
constexpr int ICC_TREEVIEW_CLASSES = 0x0002;

// Registers the window classes of the given groups; calling it again does nothing.
// Returns true when the groups asked for are registered.
bool InitCommonControl(int classes);
