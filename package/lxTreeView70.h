#pragma once
// The package lxTreeView70: the shared library that holds the tree view, its item editor
// and its registration with the form designer. A designer (or an application that wants
// the design-time side) initialises it before calling Register and finalises it when it
// lets the library go.
#include "platform/framework/Packages.h"

namespace lxTreeView70 {

// The package's name, description, required packages and units in initialisation order:
// the about dialog, the control, the item editor, the designer interfaces, the
// registration, the package unit.
const TPackageInfoTable& GetPackageInfoTable();
// Initialises the units in the table's order (once, however often it is called).
void Initialize();
// Finalises them in reverse, on the call that matches the first Initialize.
void Finalize();

} // namespace lxTreeView70
