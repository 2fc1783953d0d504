#pragma once
// Timing, memory and table printing shared by the benchmark's workloads.
#include <QElapsedTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QWidget;

namespace bench {

template <typename F>
double Millis(F&& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs a modal dialog whose making began with Started: OpenMs is the time from Started
// to the first turn of the dialog's event loop, when Confirm is called; ConfirmMs runs
// from then until RunModal has returned and Finish (the copy back) is done.
void TimeModalDialog(const QElapsedTimer& Started, const std::function<void()>& Confirm,
                     const std::function<void()>& RunModal, const std::function<void()>& Finish, double& OpenMs,
                     double& ConfirmMs);

long ResidentBytes();
void ReleaseFreeMemory();
// The posted events, then one full paint of the widget into an image of its size. With a folder set by
// SavePaintsTo, the image is also saved there as <name>.png, to see what was painted.
double PaintOnce(QWidget* widget, const std::string& name);
void SavePaintsTo(const std::string& folder);

// The texts of the benchmark tree: parent p is "Parent p", its children "Node c".
std::string ParentText(int p);
const std::vector<std::string>& ChildTexts(int perParent);

// Measurements of one control: workload name -> the time of each run in ms
// (or one value, such as bytes per node).
using TResults = std::map<std::string, std::vector<double>>;

struct TShape {
    int topLevel = 100;
    int perParent = 1000;
    int Total() const { return topLevel * (perParent + 1); } // parents and children
};

// A pseudo-random value per node of the tree, in build order (a parent, then its
// children), 0 to 2^31 - 1; and the key the application's own comparison sorts them by.
std::vector<int> NodeValues(const TShape& shape);
inline int SortKey(int value) { return int((unsigned(value) * 2654435761u) >> 1); }

double Median(std::vector<double> values);

// Prints one table: every workload with the median of each control and the ratio of
// lxTreeView to the faster Qt view.
void PrintTable(const TShape& shape, const std::vector<std::string>& workloads, const TResults& lx,
                const TResults& widget, const TResults& view);

// Prints the value of every run of every workload, one line per control and workload.
void PrintEachRun(const std::vector<std::string>& workloads,
                  const std::vector<std::pair<const char*, const TResults*>>& controls);

} // namespace bench
