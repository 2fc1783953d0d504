#include "platform/framework/Packages.h"

void TPackageState::Initialize()
{
    if (FCount++ > 0)
        return;
    size_t done = 0;
    try {
        for (; done < FTable.Units.size(); ++done)
            if (FTable.Units[done].Initialize)
                FTable.Units[done].Initialize();
    } catch (...) {
        FinalizeUnits(done);
        FCount = 0;
        throw;
    }
}

void TPackageState::Finalize()
{
    if (FCount == 0 || --FCount > 0)
        return;
    FinalizeUnits(FTable.Units.size());
}

void TPackageState::FinalizeUnits(size_t Count)
{
    while (Count > 0) {
        const TPackageUnit& unit = FTable.Units[--Count];
        if (unit.Finalize)
            unit.Finalize();
    }
}
