// Scale measurements of lxTreeView on a tree of N nodes (100 top-level nodes with N/100
// children each): building with redraw off, walking, index access, memory and painting.
//   lxTreeViewBench [N]      (default 1,000,000)
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "control/lxTreeViewControl.h"
#include "platform/Forms.h"

namespace {

long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

template <typename F>
double Millis(F&& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return double(timer.nsecsElapsed()) / 1e6;
}

double PaintOnce(QWidget* w)
{
    QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
    return Millis([&] { w->render(&image); });
}

void Row(const char* what, double ms, const char* note = "")
{
    std::printf("  %-44s %10.2f ms  %s\n", what, ms, note);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int total = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int topLevel = 100;
    const int perParent = total / topLevel;

    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 600);
    auto* tree = new TlxTreeView(&form);
    tree->SetParent(&form);
    tree->SetAlign(alClient);
    form.Show();
    TlxTreeViewNodes* items = tree->Items();
    tree->Handle();
    std::printf("lxTreeView scale, %d nodes (%d top-level x %d children)\n", topLevel * perParent, topLevel,
                perParent);

    std::vector<std::string> texts(static_cast<std::size_t>(perParent));
    for (int i = 0; i < perParent; ++i)
        texts[std::size_t(i)] = "Node " + std::to_string(i);

    const long before = ResidentBytes();
    Row("add with redraw off", Millis([&] {
            items->BeginUpdate();
            for (int p = 0; p < topLevel; ++p) {
                TlxTreeViewNode* parent = items->Add(nullptr, "Parent " + std::to_string(p));
                for (int c = 0; c < perParent; ++c)
                    items->AddChild(parent, texts[std::size_t(c)]);
            }
            items->EndUpdate();
        }));
    const long after = ResidentBytes();
    const int count = items->Count();
    std::printf("  %-44s %10.1f bytes\n", "resident memory per node", double(after - before) / count);

    int walked = 0;
    Row("GetNext walk over all nodes", Millis([&] {
            for (TlxTreeViewNode* n = items->GetFirstNode(); n; n = n->GetNext())
                ++walked;
        }));
    long long sum = 0;
    Row("AbsoluteIndex of every node", Millis([&] {
            for (TlxTreeViewNode* n = items->GetFirstNode(); n; n = n->GetNext())
                sum += n->AbsoluteIndex();
        }));
    Row("Items[i] for every i", Millis([&] {
            for (int i = 0; i < count; ++i)
                sum += items->Item(i)->Level();
        }));

    QWidget* view = tree->Widget();
    PaintOnce(view);
    Row("paint at the top (collapsed)", PaintOnce(view));
    TlxTreeViewNode* last = items->Item(count - 1);
    Row("expand all", Millis([&] { tree->FullExpand(); }));
    tree->SetTopItem(items->GetFirstNode());
    Row("paint at the top (expanded)", PaintOnce(view));
    last->MakeVisible();
    Row("paint at the bottom (expanded)", PaintOnce(view));
    Row("collapse all", Millis([&] { tree->FullCollapse(); }));
    Row("clear", Millis([&] { items->Clear(); }));
    if (walked != count || sum < 0)
        std::printf("walk visited %d of %d nodes\n", walked, count);
    return 0;
}
