// Measures what the manifest check of media.icl adds to every start of the game (it must stay well under
// 20 ms). Build in Release:
//
//   bench_media_check <media.icl> [runs]
//
// Runs the check `runs` times (100 by default) and prints the median, 99th percentile and largest time of
// one check, as processor time (which other programs on the machine barely move) and as wall-clock time.
// The first run reads the archive from disk unless the system has it cached; the others find it in the
// page cache, as a game started a second time does.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "frame_stats.h"
#include "platform/media_archive.h"
#include "program_main.h"

namespace
{
double processorMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

int run(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::fprintf(stderr, "usage: bench_media_check <media.icl> [runs]\n");
        return 2;
    }
    const std::string archive = argv[1];
    const int runs = argc == 3 ? std::atoi(argv[2]) : 100;
    std::vector<double> processor;
    std::vector<double> wall;
    for (int i = 0; i < runs; ++i)
    {
        const double startProcessor = processorMilliseconds();
        const auto start = std::chrono::steady_clock::now();
        platform::checkMediaArchive(archive);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        processor.push_back(processorMilliseconds() - startProcessor);
        wall.push_back(took.count());
    }
    std::printf("%s: %zu entries (%s build)\n", archive.c_str(),
                platform::describeMediaArchive(archive).size(), QUOBBEL_BUILD_TYPE);
    std::printf("first check: %.2f ms processor, %.2f ms wall-clock\n", processor.front(), wall.front());
    for (auto [name, samples] : {std::pair{"processor", &processor}, std::pair{"wall-clock", &wall}})
    {
        samples->erase(samples->begin());
        const FrameStats stats = summarise(*samples);
        std::printf("then %ld checks, %s: median %.2f ms, p99 %.2f ms, max %.2f ms\n", stats.count, name,
                    stats.median, stats.p99, stats.max);
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    return runReportingErrors(run, argc, argv);
}
