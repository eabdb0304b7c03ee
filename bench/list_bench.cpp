// The image list's add and sort on the headless toolkit, against a plain std::stable_sort of the
// same paths by file name (the least any ordered insert must do). Run:
//   build/<dir>/bin/list_bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "platform/crt/SplitPath.h"
#include "platform/ui/HeadlessDialog.h"
#include "platform/ui/HeadlessToolkit.h"

namespace {

class QuietDlg : public CFolvaneDlg {
public:
    using CFolvaneDlg::CFolvaneDlg;
    void ShowPreview(std::string) override {}
};

std::vector<std::string> Paths(int count, bool reversed) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const int n = reversed ? count - i : i + 1;
        paths.push_back("/home/user/scans/page-" + std::to_string(100000 + n) + ".jpg");
    }
    return paths;
}

void AddImages(benchmark::State &state, bool reversed) {
    const std::vector<std::string> paths = Paths(static_cast<int>(state.range(0)), reversed);
    for (auto _ : state) {
        HeadlessToolkit ui;
        QuietDlg dlg(ui);
        // The files' background checks are not the list's work.
        dlg.SetInspect([](const std::string &) { return folvane::ImageFacts{}; });
        dlg.Create();
        ui.openAnswers.push_back(paths);
        ui.Dialog(IDD_FOLVANE_DIALOG)->Click(IDC_BTN_ADD_IMAGES);
        benchmark::DoNotOptimize(dlg.Pages().count());
    }
}

void BM_AddSortedNames(benchmark::State &state) {
    AddImages(state, false);
}
void BM_AddReversedNames(benchmark::State &state) {
    AddImages(state, true);
}

void BM_PeerStableSort(benchmark::State &state) {
    const std::vector<std::string> paths = Paths(static_cast<int>(state.range(0)), true);
    for (auto _ : state) {
        std::vector<std::string> sorted = paths;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const std::string &a, const std::string &b) {
                             return FileNamePart(a) < FileNamePart(b);
                         });
        benchmark::DoNotOptimize(sorted.data());
    }
}

} // namespace

BENCHMARK(BM_AddSortedNames)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddReversedNames)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerStableSort)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
