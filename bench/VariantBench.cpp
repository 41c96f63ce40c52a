// Costs of the value operations that scripts and bindings run most: adding
// integers, building texts by concatenation, comparing, and writing values as text.
#include "platform/Variant.h"

#include <benchmark/benchmark.h>

namespace {

void addIntegers(benchmark::State& state) {
    const Variant one = Variant::fromInt(1);
    Variant total = Variant::fromInt(0);
    for (auto _ : state) {
        total.add(one);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(addIntegers);

void addTexts(benchmark::State& state) {
    const Variant word = Variant::fromText("slovo ");
    for (auto _ : state) {
        Variant line = Variant::fromText("Nastaveni: ");
        for (int i = 0; i < 8; ++i)
            line.add(word);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(addTexts);

void addIntegerToText(benchmark::State& state) {
    const Variant number = Variant::fromInt(12);
    const Variant text = Variant::fromText("1");
    for (auto _ : state) {
        Variant v = number;
        v.add(text);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(addIntegerToText);

void equalIntegers(benchmark::State& state) {
    const Variant a = Variant::fromInt(42);
    const Variant b = Variant::fromInt(43);
    for (auto _ : state)
        benchmark::DoNotOptimize(a.isEqual(b));
}
BENCHMARK(equalIntegers);

void equalTexts(benchmark::State& state) {
    const Variant a = Variant::fromText("Konfigurace");
    const Variant b = Variant::fromWideText(QStringLiteral("Konfigurace"));
    for (auto _ : state)
        benchmark::DoNotOptimize(a.isEqual(b));
}
BENCHMARK(equalTexts);

void equalIntegerAndText(benchmark::State& state) {
    const Variant a = Variant::fromInt(9600);
    const Variant b = Variant::fromWideText(QStringLiteral("9600"));
    for (auto _ : state)
        benchmark::DoNotOptimize(a.isEqual(b));
}
BENCHMARK(equalIntegerAndText);

void integerToText(benchmark::State& state) {
    const Variant v = Variant::fromInt(-123456);
    for (auto _ : state)
        benchmark::DoNotOptimize(v.toText());
}
BENCHMARK(integerToText);

void realToText(benchmark::State& state) {
    const Variant v = Variant::fromDouble(1.0 / 3.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(v.toText());
}
BENCHMARK(realToText);

void wideToText(benchmark::State& state) {
    const Variant v = Variant::fromWideText(QString::fromUtf8("Špatné heslo!"));
    for (auto _ : state)
        benchmark::DoNotOptimize(v.toText());
}
BENCHMARK(wideToText);

} // namespace

BENCHMARK_MAIN();
