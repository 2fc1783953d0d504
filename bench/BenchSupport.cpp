#include "bench/BenchSupport.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace bench {

void TimeModalDialog(const QElapsedTimer& Started, const std::function<void()>& Confirm,
                     const std::function<void()>& RunModal, const std::function<void()>& Finish, double& OpenMs,
                     double& ConfirmMs)
{
    QElapsedTimer confirmed;
    QTimer::singleShot(0, [&] {
        OpenMs = double(Started.nsecsElapsed()) / 1e6;
        confirmed.start();
        Confirm();
    });
    RunModal();
    Finish();
    ConfirmMs = double(confirmed.nsecsElapsed()) / 1e6;
}


long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void ReleaseFreeMemory() { malloc_trim(0); }

namespace {
std::string PaintFolder;
}

void SavePaintsTo(const std::string& folder) { PaintFolder = folder; }

double PaintOnce(QWidget* widget, const std::string& name)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    // What the event loop does before the window shows: the posted layout work (the Qt
    // views lay out their rows and show their scroll bars there), then the paint.
    const double ms = Millis([&] {
        QApplication::processEvents();
        widget->render(&image);
    });
    if (!PaintFolder.empty())
        image.save(QString::fromStdString(PaintFolder + "/" + name + ".png"));
    return ms;
}

std::string ParentText(int p) { return "Parent " + std::to_string(p); }

const std::vector<std::string>& ChildTexts(int perParent)
{
    static std::vector<std::string> texts;
    if (int(texts.size()) != perParent) {
        texts.clear();
        // Shuffled numbers, so that sorting has work to do.
        for (int i = 0; i < perParent; ++i)
            texts.push_back("Node " + std::to_string((i * 7919L) % perParent));
    }
    return texts;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

namespace {
std::string Cell(const TResults& r, const std::string& w, bool bytes)
{
    auto it = r.find(w);
    if (it == r.end() || it->second.empty())
        return "n/a";
    char buf[32];
    std::snprintf(buf, sizeof buf, bytes ? "%.0f B" : "%.2f", Median(it->second));
    return buf;
}
} // namespace

void PrintTable(const TShape& shape, const std::vector<std::string>& workloads, const TResults& lx,
                const TResults& widget, const TResults& view)
{
    std::printf("\n%d nodes (%d top-level with %d children each), median ms of the runs\n", shape.Total(), shape.topLevel,
                shape.perParent);
    std::printf("| %-46s | %12s | %12s | %12s | %7s |\n", "workload", "lxTreeView", "QTreeWidget", "QTreeView",
                "ratio");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(48, '-').c_str(), std::string(14, '-').c_str(),
                std::string(14, '-').c_str(), std::string(14, '-').c_str(), std::string(9, '-').c_str());
    for (const std::string& w : workloads) {
        const bool bytes = w.find("bytes") != std::string::npos;
        std::string ratio = "";
        auto l = lx.find(w);
        double best = -1;
        for (const TResults* q : {&widget, &view}) {
            auto it = q->find(w);
            if (it != q->end() && !it->second.empty()) {
                double m = Median(it->second);
                if (best < 0 || m < best)
                    best = m;
            }
        }
        if (l != lx.end() && !l->second.empty() && best > 0) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.2f", Median(l->second) / best);
            ratio = buf;
        }
        std::printf("| %-46s | %12s | %12s | %12s | %7s |\n", w.c_str(), Cell(lx, w, bytes).c_str(),
                    Cell(widget, w, bytes).c_str(), Cell(view, w, bytes).c_str(), ratio.c_str());
    }
    std::fflush(stdout);
}

void PrintEachRun(const std::vector<std::string>& workloads,
                  const std::vector<std::pair<const char*, const TResults*>>& controls)
{
    std::printf("\nevery run\n");
    for (const auto& [name, results] : controls)
        for (const std::string& w : workloads) {
            auto it = results->find(w);
            if (it == results->end() || it->second.empty())
                continue;
            std::printf("%-12s %-46s", name, w.c_str());
            for (double v : it->second)
                std::printf(" %10.2f", v);
            std::printf("\n");
        }
    std::fflush(stdout);
}

std::vector<int> NodeValues(const TShape& shape)
{
    std::vector<int> values(std::size_t(shape.Total()));
    unsigned state = 12345u;
    for (int& v : values) {
        state = state * 1103515245u + 12345u;
        v = int((state >> 1) ^ (state << 15)) & 0x7fffffff;
    }
    return values;
}

} // namespace bench
