// Times one monitoring pass against the in-memory registry and file system:
// a pass that finds every value equal, and a pass that rewrites them (its
// 500 ms wait runs on the fake counter, so it costs no real time).
// Usage: bench_pass_bench [passes]   (default 10000, at least 1000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../pass_timing.h"
#include "fakes/form_fixture.h"

namespace {

constexpr char kFolderKey[] = "SOFTWARE\\Jw_cad\\jw_win\\Folder";

}  // namespace

int main(int argc, char** argv) {
    const int passes = std::max(1000, argc > 1 ? std::atoi(argv[1]) : 10000);
    FakeForm f;
    const std::string folders[] = {"C:\\Drawings\\Jww\\", "C:\\Drawings\\Other\\",
                                   "C:\\Drawings\\Zukei\\"};
    const std::string interval = "5";
    for (const std::string& folder : folders) f.files.PutFolder(folder);
    f.edit1.text = folders[0];
    f.edit2.text = folders[1];
    f.edit3.text = folders[2];
    f.edit4.text = interval;
    f.form.Button4Click();
    f.form.Timer1Timer();  // the first pass writes the values

    const int writesBefore = f.registry.writes;
    const Figures equal = TimePasses(f.form, passes, [] {});
    if (f.registry.writes != writesBefore) {
        std::fprintf(stderr, "unexpected rewrite\n");
        return 1;
    }
    const Figures rewrite = TimePasses(
        f.form, passes, [&f] { f.registry.PutString(kFolderKey, "File", "C:\\Elsewhere"); });
    if (f.registry.writes != writesBefore + 3 * passes || f.registry.OpenHandles() != 0) {
        std::fprintf(stderr, "unexpected write count or open keys\n");
        return 1;
    }

    std::printf("passes per case: %d (fake registry, fake files, fake toolkit)\n", passes);
    PrintFigures("pass, values equal:", equal);
    PrintFigures("pass, values rewritten:", rewrite, "  (500 ms wait on the fake counter)");
    return 0;
}
