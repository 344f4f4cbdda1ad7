// Generation cost against baselines measured in the same run:
//  - with the start values, against copying the template into a fresh string (target: <= 10x);
//  - with 1 Mi characters in every slot and image box, against a memcpy of the same output
//    size (target: <= 3x, i.e. cost linear in the output), both into a buffer already in use and
//    both into fresh memory.
// Import cost against generating the same code in the same run:
//  - the start values' code (target: <= 20x);
//  - the code with 1 Mi characters in every box (target: <= 3x, i.e. linear in the code);
//  - growth for values made of the built-in text that follows them, from 100 copies of that text
//    to 1000 (ten times the input): linear would be 10, quadratic 100 (target: <= 30).
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "core/generator.h"
#include "core/importer.h"
#include "core/plan.h"
#include "ratioreporter.h"

namespace {

using velmora::StyleValues;

constexpr std::size_t kLargeValue = 1 << 20;

const StyleValues &largeValues() {
    static const StyleValues values = [] {
        StyleValues v;
        for (auto &slot : v.slots) slot.assign(kLargeValue, u'a');
        for (auto &image : v.images) image.assign(kLargeValue, u'b');
        return v;
    }();
    return values;
}

void copyTemplate(benchmark::State &state) {
    for (auto _ : state) {
        std::u16string copy(velmora::kTemplate);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(copyTemplate);

void generateStartValues(benchmark::State &state) {
    const StyleValues values = velmora::startValues();
    for (auto _ : state) {
        std::u16string css = velmora::generateCss(values);
        benchmark::DoNotOptimize(css.data());
    }
}
BENCHMARK(generateStartValues);

void memcpyLargeOutput(benchmark::State &state) {
    const std::size_t bytes = velmora::generateCss(largeValues()).size() * sizeof(char16_t);
    std::vector<char> from(bytes, 'x');
    std::vector<char> to(bytes, 'y');
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(memcpyLargeOutput)->Unit(benchmark::kMillisecond);

// Into an output buffer kept from the previous press, as the window keeps its output text.
void generateLargeValues(benchmark::State &state) {
    std::u16string css;
    velmora::generateCss(largeValues(), css);
    for (auto _ : state) {
        velmora::generateCss(largeValues(), css);
        benchmark::DoNotOptimize(css.data());
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * css.size() * sizeof(char16_t)));
}
BENCHMARK(generateLargeValues)->Unit(benchmark::kMillisecond);

// A fresh output string each time: the kernel's cost of handing out new pages dominates, so it
// is compared with a memcpy into a fresh buffer of the same size.
void memcpyLargeOutputFresh(benchmark::State &state) {
    const std::size_t bytes = velmora::generateCss(largeValues()).size() * sizeof(char16_t);
    std::vector<char> from(bytes, 'x');
    for (auto _ : state) {
        std::unique_ptr<char[]> to(new char[bytes]);
        std::memcpy(to.get(), from.data(), bytes);
        benchmark::DoNotOptimize(to.get());
    }
}
BENCHMARK(memcpyLargeOutputFresh)->Unit(benchmark::kMillisecond);

void generateLargeValuesFresh(benchmark::State &state) {
    for (auto _ : state) {
        std::u16string css = velmora::generateCss(largeValues());
        benchmark::DoNotOptimize(css.data());
    }
}
BENCHMARK(generateLargeValuesFresh)->Unit(benchmark::kMillisecond);

void importStartValues(benchmark::State &state) {
    const StyleValues values = velmora::startValues();
    const std::u16string css = velmora::generateCss(values);
    for (auto _ : state) {
        velmora::ImportResult result = velmora::importCss(css, values);
        benchmark::DoNotOptimize(&result);
    }
}
BENCHMARK(importStartValues);

void importLargeValues(benchmark::State &state) {
    const std::u16string css = velmora::generateCss(largeValues());
    for (auto _ : state) {
        velmora::ImportResult result = velmora::importCss(css, largeValues());
        benchmark::DoNotOptimize(&result);
    }
}
BENCHMARK(importLargeValues)->Unit(benchmark::kMillisecond);

/** Every value made of copies of the built-in text that follows its first place in the code. */
StyleValues hostileValues(int copies) {
    const std::vector<velmora::Piece> &plan = velmora::generationPlan();
    StyleValues values;
    for (std::size_t k = plan.size() - 1; k-- > 0;) {
        std::u16string &value = velmora::holeValue(values, plan[k].hole);
        value.clear();
        for (int i = 0; i < copies; ++i) {
            value += plan[k + 1].literal;
        }
    }
    return values;
}

void importHostileValues(benchmark::State &state) {
    const StyleValues values = hostileValues(static_cast<int>(state.range(0)));
    const std::u16string css = velmora::generateCss(values);
    for (auto _ : state) {
        velmora::ImportResult result = velmora::importCss(css, values);
        benchmark::DoNotOptimize(&result);
    }
    state.counters["characters"] = static_cast<double>(css.size());
}
BENCHMARK(importHostileValues)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    velmora::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bool ok = reporter.ratio("generateStartValues", "copyTemplate", 10.0);
    ok = reporter.ratio("generateLargeValues", "memcpyLargeOutput", 3.0) && ok;
    ok = reporter.ratio("generateLargeValuesFresh", "memcpyLargeOutputFresh", 3.0) && ok;
    ok = reporter.ratio("importStartValues", "generateStartValues", 20.0) && ok;
    ok = reporter.ratio("importLargeValues", "generateLargeValuesFresh", 3.0) && ok;
    ok = reporter.ratio("importHostileValues/1000", "importHostileValues/100", 30.0,
                        " for 10x the input; linear is 10, quadratic 100") &&
         ok;
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
