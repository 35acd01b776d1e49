// Times one pass of the watch against the in-memory registry and file system:
// a pass that finds every value equal, and a pass that rewrites them (its
// 500 ms wait runs on the fake counter, so it costs no real time).
// Usage: bench_pass_bench [passes]   (default 10000, at least 1000)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../pass_timing.h"
#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_toolkit.h"
#include "watch/folder_watch.h"

namespace {

constexpr char kFolderKey[] = "SOFTWARE\\Jw_cad\\jw_win\\Folder";

class IgnoredReports : public IWatchObserver {
public:
    void OnPassReport(PassReport) override {}
};

}  // namespace

int main(int argc, char** argv) {
    const int passes = std::max(1000, argc > 1 ? std::atoi(argv[1]) : 10000);
    FakeRegistry registry;
    FakeFileSystem files;
    FakeTimer timer;
    FakeEventLoop loop;
    IgnoredReports reports;
    FakeChangeSignal changes;
    files.answerLoop = &loop;
    FolderWatch watch(registry, files, timer, changes, loop, reports);

    const WatchedFolders folders = {"C:\\Drawings\\Jww\\", "C:\\Drawings\\Other\\",
                                    "C:\\Drawings\\Zukei\\"};
    for (const std::string& folder : folders) files.PutFolder(folder);
    watch.Start(folders, 5.0);
    watch.RunPass();  // the first pass writes the values

    const int writesBefore = registry.writes;
    const Figures equal = TimePasses(watch, passes, [] {});
    if (registry.writes != writesBefore) {
        std::fprintf(stderr, "unexpected rewrite\n");
        return 1;
    }
    const Figures rewrite = TimePasses(
        watch, passes, [&registry] { registry.PutString(kFolderKey, "File", "C:\\Elsewhere"); });
    if (registry.writes != writesBefore + 3 * passes || registry.OpenHandles() != 0) {
        std::fprintf(stderr, "unexpected write count or open keys\n");
        return 1;
    }

    std::printf("passes per case: %d (fake registry, fake files, fake timer and event loop)\n",
                passes);
    PrintFigures("pass, values equal:", equal);
    PrintFigures("pass, values rewritten:", rewrite, "  (500 ms wait on the fake counter)");
    return 0;
}
