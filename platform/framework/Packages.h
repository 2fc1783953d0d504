#pragma once
// Packages: libraries that a designer or an application loads as a whole. A package
// describes itself by its info table: its name, a line of description, the packages it
// requires and its units in initialisation order. Initialising a package initialises its
// units in that order, once however often it is asked; finalising undoes it in reverse,
// after as many finalisations as there were initialisations.
#include <string>
#include <vector>

struct TPackageUnit {
    std::string Name;
    void (*Initialize)() = nullptr; // null: nothing to do
    void (*Finalize)() = nullptr;
};

struct TPackageInfoTable {
    std::string Name;
    std::string Description;
    std::vector<std::string> Requires;
    std::vector<TPackageUnit> Units;
};

// The state of one package's units: how often it was initialised and how far the last
// initialisation came.
class TPackageState {
public:
    explicit TPackageState(const TPackageInfoTable& Table) : FTable(Table) {}
    // Initialises the units on the first call. A unit that throws ends it: the units
    // initialised before it are finalised again in reverse and the error propagates.
    void Initialize();
    // Finalises the units in reverse on the call that matches the first Initialize.
    void Finalize();
    bool Initialized() const { return FCount > 0; }

private:
    void FinalizeUnits(size_t Count);
    const TPackageInfoTable& FTable;
    int FCount = 0;
};
