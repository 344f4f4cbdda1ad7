// A background made from a colour, as 制作背景图… and velmora-css --make-image make it:
//  - made and written whole or not at all in under 5 ms, the disk's own flush aside (that wait
//    is the system's: tens of milliseconds on a busy disk, whatever is written);
//  - made and written and flushed, against writing and flushing the same bytes made
//    beforehand, in the same run (target: <= 1.5x: making it adds little to keeping a file).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <map>

#include "core/png.h"
#include "platform/files.h"
#include "ratioreporter.h"

namespace {

constexpr velmora::Rgba kColour{0xFF, 0x66, 0x00};

const std::filesystem::path &imageFile() {
    static const std::filesystem::path file = [] {
        std::string error;
        return *velmora::makePrivateFolder(error) / "导航背景-FF6600.png";
    }();
    return file;
}

void write(const std::string &bytes,
           velmora::Durability durability = velmora::Durability::Flushed) {
    std::string error;
    if (!velmora::writeFileAtomically(imageFile(), bytes, error, durability)) {
        std::cerr << error << '\n';
        std::exit(1);
    }
}

void makeImage(benchmark::State &state) {
    for (auto _ : state) {
        std::string png = velmora::solidPng(kColour);
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["bytes"] = static_cast<double>(velmora::solidPng(kColour).size());
}
BENCHMARK(makeImage)->Unit(benchmark::kMicrosecond);

void writeMadeImage(benchmark::State &state) {
    const std::string png = velmora::solidPng(kColour);
    for (auto _ : state) {
        write(png);
    }
}
BENCHMARK(writeMadeImage)->Unit(benchmark::kMicrosecond);

void makeAndWriteImage(benchmark::State &state) {
    for (auto _ : state) {
        write(velmora::solidPng(kColour));
    }
}
BENCHMARK(makeAndWriteImage)->Unit(benchmark::kMicrosecond);

void makeAndWriteImageUnflushed(benchmark::State &state) {
    for (auto _ : state) {
        write(velmora::solidPng(kColour), velmora::Durability::Cached);
    }
}
BENCHMARK(makeAndWriteImageUnflushed)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    velmora::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double made = reporter.seconds("makeAndWriteImageUnflushed");
    const double ratio = reporter.seconds("makeAndWriteImage") / reporter.seconds("writeMadeImage");
    const bool fast = made * 1000 <= 5.0, cheap = ratio <= 1.5;
    std::cout << "makeAndWriteImageUnflushed = " << made * 1000 << " ms (target <= 5 ms)"
              << (fast ? "" : "  OVER TARGET") << '\n'
              << "makeAndWriteImage / writeMadeImage = " << ratio << " (target <= 1.5)"
              << (cheap ? "" : "  OVER TARGET") << '\n';
    std::filesystem::remove_all(imageFile().parent_path());
    benchmark::Shutdown();
    return fast && cheap ? 0 : 1;
}
